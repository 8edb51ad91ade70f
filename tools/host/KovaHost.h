// The reference host, whole: include this to run the engine with files,
// FreeType fonts, PNG pictures, a software-drawn image, recorded sounds and
// scripted input. See ReferenceHost.h first.
#pragma once

#include "Canvas.h"
#include "FileStore.h"
#include "FontCache.h"
#include "FrameDriver.h"
#include "HostLog.h"
#include "InputScript.h"
#include "PictureCache.h"
#include "PngFile.h"
#include "Rasterizer.h"
#include "ReferenceHost.h"
#include "SoundLog.h"
