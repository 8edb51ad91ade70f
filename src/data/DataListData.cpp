#include "kova/data.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(DataListData, Data)

// An element being read, kept on the reader's stack.
struct DataListData::Visit {
    int index;
    Visit* outer;
};

// Looks an element up and marks it as being read for as long as it lives.
// An element that is already being read further out counts as missing: its
// read has led back to itself. Other elements of the same list may be read
// meanwhile, as when an entry picks a sibling by index.
class DataListData::Element {
public:
    Element(DataListData& list, int index)
        : list_(list), visit_{index, list.visits_}, data_(list.dataAt(index)) {
        for (Visit* visit = visit_.outer; visit && data_; visit = visit->outer) {
            if (visit->index == index) data_ = nullptr;
        }
        list_.visits_ = &visit_;
    }
    ~Element() { list_.visits_ = visit_.outer; }
    Element(const Element&) = delete;
    Element& operator=(const Element&) = delete;

    Data* operator->() const { return data_; }
    explicit operator bool() const { return data_ != nullptr; }

private:
    DataListData& list_;
    Visit visit_;
    Data* data_;
};

DataListData::DataListData(const char* name) : Data(name), dataList_(Data::absoluteClass()) {}

bool DataListData::set(System& system, int index, float value) {
    Element element(*this, index);
    if (!element) return false;
    element->set(system, value);
    return true;
}

bool DataListData::set(System& system, int index, const unsigned short* text) {
    Element element(*this, index);
    return element ? element->set(system, text) : false;
}

bool DataListData::set(System& system, int index, const char* text) {
    Element element(*this, index);
    return element ? element->set(system, text) : false;
}

bool DataListData::set(System& system, float value) {
    Element element(*this, 0);
    return element ? element->set(system, value) : false;
}

bool DataListData::set(System& system, const unsigned short* text) {
    Element element(*this, 0);
    return element ? element->set(system, text) : false;
}

bool DataListData::set(System& system, const char* text) {
    Element element(*this, 0);
    return element ? element->set(system, text) : false;
}

float DataListData::value(System& system, int index) {
    Element element(*this, index);
    return element ? element->value(system) : 0.0f;
}

float DataListData::value(System& system) {
    Element element(*this, 0);
    return element ? element->value(system) : 0.0f;
}

int DataListData::character(System& system, int index, int position) {
    Element element(*this, index);
    return element ? element->character(system, position) : 0;
}

int DataListData::character(System& system, int position) {
    Element element(*this, 0);
    return element ? element->character(system, position) : 0;
}

// Every entry counts, also one that holds no data.
int DataListData::indexCount(System&) {
    return dataList_.objectCount();
}

Data* DataListData::dataAt(int index) {
    return static_cast<Data*>(dataList_.objectFromIndex(index));
}

bool DataListData::onStream(System& system, Stream& stream) {
    return Data::onStream(system, stream) && stream.streamList(system, dataList_, "Data list");
}

}  // namespace kova
}  // namespace tarn
