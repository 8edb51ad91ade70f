#include "Reentry.h"
#include "kova/data.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(ConcatenateListData, Data)

ConcatenateListData::ConcatenateListData() : Data(nullptr), dataList_(Data::absoluteClass()) {}

// The lengths are summed wide, so texts that together pass the largest int
// cannot overflow the sum. Negative positions lie before every text and
// read 0. An entry holding no data ends the joined text.
int ConcatenateListData::character(System& system, int position) {
    Reentry entry(reading_);
    if (!entry.entered() || position < 0) return 0;
    long long before = 0;
    for (int handle = dataList_.firstHandle(); handle; handle = dataList_.nextHandle(handle)) {
        Data* data = static_cast<Data*>(dataList_.objectFromHandle(handle));
        if (!data) return 0;
        long long length = data->stringLength(system);
        if (position < before + length)
            return data->character(system, static_cast<int>(position - before));
        before += length;
    }
    return 0;
}

bool ConcatenateListData::onStream(System& system, Stream& stream) {
    return Data::onStream(system, stream) && stream.streamList(system, dataList_, "Data list");
}

}  // namespace kova
}  // namespace tarn
