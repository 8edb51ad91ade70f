// The text form of object files, as a whole: converting object files to text
// and back through the engine, and describing the classes a text can name.
//
// The form, in short (README.md, "The kova tool", has an example):
// - A text holds one record, the file's root: a class name, an optional
//   quoted object name, and its fields in braces.
// - Each field is "label: value" on a line of its own, in the order the
//   class lists its fields; the reader checks every label. Labels that are
//   not plain text are quoted.
// - Numbers are plain decimal; floats also "inf", "-inf", "nan" and
//   "nan(0xXXXXXXXX)" (a NaN's bit pattern). Bools are true or false.
// - Texts, fonts, pictures, sounds and static texts are quoted, with the
//   escapes \" \\ \n \r \t \xHH and \uHHHH. A character field is one
//   character in quotes, or its number. Index fields take a number or one of
//   the names the class gives its numbers.
// - Object fields are null, @"full name" (a named object met before, or the
//   root of the object file of that name), or a nested record. Lists are
//   "[" records "]".
// - "#" starts a comment that runs to the end of the line.
#pragma once

#include <string>
#include <vector>

#include "TextFormIStream.h"
#include "TextFormOStream.h"
#include "ToolHost.h"
#include "kova/kova.h"

namespace tarn {
namespace kova {
namespace text {

// Errors and warnings in a host's log. The "Wrong file version" error that
// announces an old-format file (the engine always follows it with "Trying
// old format") is not counted: such files load normally.
struct LogSummary {
    int errors = 0;
    int warnings = 0;
};
LogSummary summarizeLog(const std::vector<std::string>& lines);
// The counted lines themselves.
std::vector<std::string> problemLines(const std::vector<std::string>& lines);

// root and everything it reaches, as text; impliedName is left out of the
// root record when it is the root's name.
bool writeText(System& system, Object* root, const char* impliedName, bool inlineOwnFiles,
               std::string& text, std::string& error);

// Creates the objects a text describes, in any host: tests describe screens
// this way. The root becomes the caller's (to clear); named objects go to the
// name directory.
bool readText(System& system, const std::string& text, const std::string& textName,
              const char* rootName, Object*& root, std::string& error);

// Writes root as the object file `name` ("KovaFile 2.0") through the host's
// output stream, the way a stream owner's own file is written.
bool writeObjectFile(System& system, Object* root, const char* name);

// Loads the object file `name` through an initialised host and writes it as
// text. The host's log tells whether the load met problems.
bool dumpObjectFile(ToolHost& host, const std::string& name, bool inlineOwnFiles, std::string& text,
                    std::string& error);

// Reads a text and writes its root as the object file outName, and every
// named stream owner it defines in full as that object's own file. Nothing is
// written when the text is malformed, the engine logs a problem while reading
// it (an object file that @"name" refers to, for instance) or a record cannot
// be written as an object file.
bool buildObjectFile(ToolHost& host, const std::string& text, const std::string& textName,
                     const std::string& outName, std::string& error);

// The class chain: each class with its parent, and for object classes that
// can be created by name, their fields with labels and kinds. With names,
// only those classes (short or full names); an unknown one is an error.
bool describeClasses(System& system, const std::vector<std::string>& names, std::string& out,
                     std::string& error);

}  // namespace text
}  // namespace kova
}  // namespace tarn
