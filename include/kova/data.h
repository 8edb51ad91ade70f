// Kova data and functions: variables shared by screens and host, and
// host-callable functions.
#pragma once

#include "kova/container.h"
#include "kova/runtime.h"

namespace tarn {
namespace kova {

class Action;

// Base of variables: a named value that screens and host read and write as a
// number, as text one character at a time, and, for list-like data, by index.
// Each class converts between the forms; the caller never sees the type.
class KOVA_API Data : public Object {
    KOVA_RUNTIME_CLASS(Data)
public:
    explicit Data(const char* name = nullptr);
    ~Data() override;

    const char* name() override { return name_; }
    bool setName(const char* name) override;

    // Writes report true also when the value was ignored. A null text reads
    // as 0 to number classes and leaves text classes without text. The
    // indexed forms of the base ignore the index.
    virtual bool set(System& system, int index, float value);
    virtual bool set(System& system, int index, const unsigned short* text);
    virtual bool set(System& system, int index, const char* text);
    virtual bool set(System& system, float value);
    virtual bool set(System& system, const unsigned short* text);
    virtual bool set(System& system, const char* text);
    virtual float value(System& system, int index);
    virtual float value(System& system);
    // A character of 0 ends the text; positions past the end read 0.
    virtual int character(System& system, int index, int position);
    virtual int character(System& system, int position);
    virtual int indexCount(System& system);
    virtual Data* dataAt(int index);

    // Text operations over the characters.
    int stringLength(System& system);
    int stringLength(System& system, int index);
    // Store at most size characters, always terminated; a result equal to
    // size means the text did not fit.
    int stringCopy(System& system, char* buffer, int size);
    int stringCopy(System& system, unsigned short* buffer, int size);
    int stringCopy(System& system, int index, char* buffer, int size);
    int stringCopy(System& system, int index, unsigned short* buffer, int size);
    int stringCompare(System& system, Data* other);

protected:
    // Number texts kept by data classes: the text is made on first use and
    // remade only when the value moved, so reading a number character by
    // character formats it once. Integers take 12 bytes, floats 18 with 9
    // fraction digits.
    enum { IntTextSize = 12, FloatTextSize = 18, FloatTextDigits = 9 };
    static int intTextCharacter(int value, int& textValue, char*& text, int position);
    static int floatTextCharacter(float value, float& textValue, char*& text, int position);
    // Memory::floatToString cut to a buffer of size bytes: a very large
    // number loses digits at the end rather than overrunning the buffer.
    static void formatFloat(float value, int digits, char* buffer, int size);
    // Number written into a text by the text classes: 7 fraction digits in a
    // 32-byte buffer.
    enum { NumberTextSize = 32, NumberTextDigits = 7 };

private:
    char* name_;
};

// A flag. Only the number 1.0 and the texts "true" (any case) and "1" set it.
class KOVA_API BoolData : public Data {
    KOVA_RUNTIME_CLASS(BoolData)
public:
    explicit BoolData(bool value = false, const char* name = nullptr);

    using Data::character;
    using Data::set;
    using Data::value;
    bool set(System& system, float value) override;
    bool set(System& system, const char* text) override;
    float value(System& system) override;
    int character(System& system, int position) override;
    bool onStream(System& system, Stream& stream) override;

    // The character at position of "true" or "false"; 0 past the end.
    static int boolToString(bool value, int position);
    static bool textToBool(const char* text);

private:
    bool value_;
};

// A flag of the host's. Without a reference it keeps its own.
class KOVA_API BoolRefData : public Data {
public:
    BoolRefData(bool* reference, const char* name);

    using Data::character;
    using Data::set;
    using Data::value;
    bool set(System& system, float value) override;
    bool set(System& system, const char* text) override;
    float value(System& system) override;
    int character(System& system, int position) override;

private:
    bool* reference_;
    bool ownValue_ = false;
};

// A whole number; numbers written into it are rounded half away from zero.
class KOVA_API IntData : public Data {
    KOVA_RUNTIME_CLASS(IntData)
public:
    explicit IntData(int value = 0, const char* name = nullptr);
    ~IntData() override;

    using Data::character;
    using Data::set;
    using Data::value;
    bool set(System& system, float value) override;
    bool set(System& system, const char* text) override;
    float value(System& system) override;
    int character(System& system, int position) override;
    bool onStream(System& system, Stream& stream) override;

    static int roundToInt(float value);

private:
    int value_;
    int textValue_;
    char* text_ = nullptr;
};

// A whole number of the host's. Without a reference it keeps its own.
class KOVA_API IntRefData : public Data {
public:
    IntRefData(int* reference, const char* name);
    ~IntRefData() override;

    using Data::character;
    using Data::set;
    using Data::value;
    bool set(System& system, float value) override;
    bool set(System& system, const char* text) override;
    float value(System& system) override;
    int character(System& system, int position) override;

private:
    int* reference_;
    int ownValue_ = 0;
    int textValue_ = 0;
    char* text_ = nullptr;
};

// A number, shown with 9 fraction digits.
class KOVA_API FloatData : public Data {
    KOVA_RUNTIME_CLASS(FloatData)
public:
    explicit FloatData(float value = 0.0f, const char* name = nullptr);
    ~FloatData() override;

    using Data::character;
    using Data::set;
    using Data::value;
    bool set(System& system, float value) override;
    bool set(System& system, const char* text) override;
    float value(System& system) override;
    int character(System& system, int position) override;
    bool onStream(System& system, Stream& stream) override;

private:
    float value_;
    float textValue_;
    char* text_ = nullptr;
};

// A number of the host's. Without a reference (as when read from a file) it
// keeps its own, which is not persisted.
class KOVA_API FloatRefData : public Data {
    KOVA_RUNTIME_CLASS(FloatRefData)
public:
    explicit FloatRefData(float* reference = nullptr, const char* name = nullptr);
    ~FloatRefData() override;

    using Data::character;
    using Data::set;
    using Data::value;
    bool set(System& system, float value) override;
    bool set(System& system, const char* text) override;
    float value(System& system) override;
    int character(System& system, int position) override;

private:
    float* reference_;
    float ownValue_ = 0.0f;
    float textValue_ = 0.0f;
    char* text_ = nullptr;
};

// A fixed array of the host's floats, written and read by index.
class KOVA_API FloatArrayData : public Data {
public:
    FloatArrayData(float* array, int count, const char* name);

    using Data::character;
    using Data::set;
    using Data::value;
    bool set(System& system, int index, float value) override;
    bool set(System& system, int index, const char* text) override;
    float value(System& system, int index) override;
    int character(System& system, int index, int position) override;
    int indexCount(System& system) override;

    float* array() { return array_; }
    void setArray(float* array, int count);

private:
    float* array_;
    int count_;
};

// A text of its own.
class KOVA_API StringData : public Data {
    KOVA_RUNTIME_CLASS(StringData)
public:
    explicit StringData(const char* text = nullptr, const char* name = nullptr);
    ~StringData() override;

    using Data::character;
    using Data::set;
    using Data::value;
    bool set(System& system, float value) override;
    bool set(System& system, const char* text) override;
    float value(System& system) override;
    int character(System& system, int position) override;
    bool onStream(System& system, Stream& stream) override;

private:
    char* text_;
    int size_;    // bytes that text_ can hold, terminator included
    int length_;  // of the text held, so reading a character needs no search
};

// A text of the host's: every write frees the text the reference holds and
// stores a copy, so the host's variable must be null or hold text made by
// Memory. Without a reference (as when read from a file) it keeps its own.
class KOVA_API StringRefData : public Data {
    KOVA_RUNTIME_CLASS(StringRefData)
public:
    explicit StringRefData(char** reference = nullptr, const char* name = nullptr);
    ~StringRefData() override;

    using Data::character;
    using Data::set;
    using Data::value;
    bool set(System& system, float value) override;
    bool set(System& system, const char* text) override;
    float value(System& system) override;
    int character(System& system, int position) override;

private:
    char** reference_;
    char* ownText_ = nullptr;
};

// A wide text of its own; narrow texts written into it are widened.
class KOVA_API WstringData : public Data {
    KOVA_RUNTIME_CLASS(WstringData)
public:
    explicit WstringData(const unsigned short* text = nullptr, const char* name = nullptr);
    ~WstringData() override;

    using Data::character;
    using Data::set;
    using Data::value;
    bool set(System& system, float value) override;
    bool set(System& system, const unsigned short* text) override;
    bool set(System& system, const char* text) override;
    float value(System& system) override;
    int character(System& system, int position) override;
    bool onStream(System& system, Stream& stream) override;

private:
    unsigned short* text_;
};

// A text in a fixed buffer of the host's; size counts the terminator. Longer
// texts are cut silently.
class KOVA_API StaticStringData : public Data {
public:
    StaticStringData(char* buffer, int size, const char* name);

    using Data::character;
    using Data::set;
    using Data::value;
    bool set(System& system, float value) override;
    bool set(System& system, const char* text) override;
    float value(System& system) override;
    int character(System& system, int position) override;

private:
    char* buffer_;
    int size_;
};

// A read-only view of a text for the length of one call, for example to
// compare a literal with a variable. Bytes read sign-extended.
class KOVA_API StackData : public Data {
public:
    explicit StackData(const char* text);

    using Data::character;
    int character(System& system, int position) override;

private:
    const char* text_;
};

// A read-only view of a wide text for the length of one call.
class KOVA_API WstackData : public Data {
public:
    explicit WstackData(const unsigned short* text);

    using Data::character;
    int character(System& system, int position) override;

private:
    const unsigned short* text_;
};

// Computed data: values worked out afresh on every read from other data
// objects or from the System. Operands point into the same object graph or
// to registered data, and any of them may be null. The setters do not release
// the operand they replace: a host that builds an expression in code keeps
// its operands, while unnamed operands read from a file go with the
// expression when it is cleared.
//
// An expression that reaches itself again through its operands (a file can
// name an object inside itself) reads as if the operand were missing at the
// second visit, so a cycle ends instead of exhausting the stack.

// Base of comparisons and logic: reads exactly 1 or 0, and as text "true" or
// "false". Writes are ignored; the base itself reads 0.
class KOVA_API LogicalData : public Data {
    KOVA_RUNTIME_CLASS(LogicalData)
public:
    explicit LogicalData(const char* name = nullptr);

    using Data::character;
    using Data::value;
    float value(System& system) override;
    int character(System& system, int position) override;
    bool onStream(System& system, Stream& stream) override;

    Data* data1() { return data1_; }
    Data* data2() { return data2_; }
    void setData1(Data* data) { data1_ = data; }
    void setData2(Data* data) { data2_ = data; }

    // The character at position of "false" or "true"; 0 past the end.
    static int characterFalse(int position);
    static int characterTrue(int position);

protected:
    // The values of both operands; false when one is missing or on a cycle.
    bool operands(System& system, float& a, float& b);

    Data* data1_ = nullptr;
    Data* data2_ = nullptr;
    bool reading_ = false;
};

// Comparisons are made on the float values, so a NaN operand makes each of
// them false except NotEqualData.
class KOVA_API EqualData : public LogicalData {
    KOVA_RUNTIME_CLASS(EqualData)
public:
    explicit EqualData(const char* name = nullptr);
    using LogicalData::value;
    float value(System& system) override;
};

class KOVA_API NotEqualData : public LogicalData {
    KOVA_RUNTIME_CLASS(NotEqualData)
public:
    explicit NotEqualData(const char* name = nullptr);
    using LogicalData::value;
    float value(System& system) override;
};

class KOVA_API LessEqualData : public LogicalData {
    KOVA_RUNTIME_CLASS(LessEqualData)
public:
    explicit LessEqualData(const char* name = nullptr);
    using LogicalData::value;
    float value(System& system) override;
};

class KOVA_API LessData : public LogicalData {
    KOVA_RUNTIME_CLASS(LessData)
public:
    explicit LessData(const char* name = nullptr);
    using LogicalData::value;
    float value(System& system) override;
};

// The logic classes count every value but 0 as set, NaN included.
class KOVA_API OrData : public LogicalData {
    KOVA_RUNTIME_CLASS(OrData)
public:
    explicit OrData(const char* name = nullptr);
    using LogicalData::value;
    float value(System& system) override;
};

class KOVA_API AndData : public LogicalData {
    KOVA_RUNTIME_CLASS(AndData)
public:
    explicit AndData(const char* name = nullptr);
    using LogicalData::value;
    float value(System& system) override;
};

class KOVA_API ExclusiveOrData : public LogicalData {
    KOVA_RUNTIME_CLASS(ExclusiveOrData)
public:
    explicit ExclusiveOrData(const char* name = nullptr);
    using LogicalData::value;
    float value(System& system) override;
};

// 1 when its one operand (data 1, called data) reads 0; 0 without data.
class KOVA_API NotData : public LogicalData {
    KOVA_RUNTIME_CLASS(NotData)
public:
    explicit NotData(const char* name = nullptr);
    using LogicalData::value;
    float value(System& system) override;
    bool onStream(System& system, Stream& stream) override;

    Data* data() { return data1_; }
    void setData(Data* data) { data1_ = data; }
};

// Base of arithmetic: reads 0 when an operand is missing, and as text with 9
// fraction digits, formatted again only when the number changed. Writes are
// ignored; the base itself reads 0.
class KOVA_API OperatorData : public Data {
    KOVA_RUNTIME_CLASS(OperatorData)
public:
    explicit OperatorData(const char* name = nullptr);
    ~OperatorData() override;

    using Data::character;
    using Data::value;
    float value(System& system) override;
    int character(System& system, int position) override;
    bool onStream(System& system, Stream& stream) override;

    Data* data1() { return data1_; }
    Data* data2() { return data2_; }
    void setData1(Data* data) { data1_ = data; }
    void setData2(Data* data) { data2_ = data; }

protected:
    // The values of both operands; false when one is missing or on a cycle.
    bool operands(System& system, float& a, float& b);

    Data* data1_ = nullptr;
    Data* data2_ = nullptr;
    float textValue_ = 0.0f;
    char* text_ = nullptr;
    bool reading_ = false;
};

class KOVA_API AddData : public OperatorData {
    KOVA_RUNTIME_CLASS(AddData)
public:
    explicit AddData(const char* name = nullptr);
    using OperatorData::value;
    float value(System& system) override;
};

class KOVA_API SubData : public OperatorData {
    KOVA_RUNTIME_CLASS(SubData)
public:
    explicit SubData(const char* name = nullptr);
    using OperatorData::value;
    float value(System& system) override;
};

class KOVA_API MulData : public OperatorData {
    KOVA_RUNTIME_CLASS(MulData)
public:
    explicit MulData(const char* name = nullptr);
    using OperatorData::value;
    float value(System& system) override;
};

// A divisor of 0 gives the floating-point result: an infinity, or NaN for
// 0 / 0.
class KOVA_API DivData : public OperatorData {
    KOVA_RUNTIME_CLASS(DivData)
public:
    explicit DivData(const char* name = nullptr);
    using OperatorData::value;
    float value(System& system) override;
};

// Picks one of two data objects: data 1 while toggle data reads 0, data 2
// otherwise (also without toggle data). Reads and writes go to the pick.
class KOVA_API ToggleData : public Data {
    KOVA_RUNTIME_CLASS(ToggleData)
public:
    ToggleData();
    static const char* description();

    using Data::character;
    using Data::set;
    using Data::value;
    bool set(System& system, float value) override;
    bool set(System& system, const char* text) override;
    float value(System& system) override;
    int character(System& system, int position) override;
    bool onStream(System& system, Stream& stream) override;

    Data* toggleData() { return toggleData_; }
    Data* data1() { return data1_; }
    Data* data2() { return data2_; }
    void setToggleData(Data* data) { toggleData_ = data; }
    void setData1(Data* data) { data1_ = data; }
    void setData2(Data* data) { data2_ = data; }

private:
    Data* selected(System& system);

    Data* toggleData_ = nullptr;
    Data* data1_ = nullptr;
    Data* data2_ = nullptr;
    bool reading_ = false;
};

// The engine's recorded pointer coordinates. Writing one moves the recorded
// position only; the host's pointer is moved by the pointer itself.
class KOVA_API PointerXData : public Data {
    KOVA_RUNTIME_CLASS(PointerXData)
public:
    explicit PointerXData(const char* name = nullptr);
    ~PointerXData() override;
    static const char* description();

    using Data::character;
    using Data::set;
    using Data::value;
    bool set(System& system, float value) override;
    bool set(System& system, const char* text) override;
    float value(System& system) override;
    int character(System& system, int position) override;

private:
    float textValue_ = 0.0f;
    char* text_ = nullptr;
};

class KOVA_API PointerYData : public Data {
    KOVA_RUNTIME_CLASS(PointerYData)
public:
    explicit PointerYData(const char* name = nullptr);
    ~PointerYData() override;
    static const char* description();

    using Data::character;
    using Data::set;
    using Data::value;
    bool set(System& system, float value) override;
    bool set(System& system, const char* text) override;
    float value(System& system) override;
    int character(System& system, int position) override;

private:
    float textValue_ = 0.0f;
    char* text_ = nullptr;
};

// The focus lock count of the System; as text "true" while any lock is held.
class KOVA_API FocusLockedData : public Data {
    KOVA_RUNTIME_CLASS(FocusLockedData)
public:
    explicit FocusLockedData(const char* name = nullptr);

    using Data::character;
    using Data::value;
    float value(System& system) override;
    int character(System& system, int position) override;
};

// ---- List data ---------------------------------------------------------------

// List data: several data objects seen through the indexed part of Data, or
// their texts joined. The lists admit Data only; their unnamed entries go
// with the list when it is cleared, references elsewhere are not owned.
//
// A list data object that is read again through its own entries (a file can
// name an object inside itself) reads as missing at the second visit, so a
// cycle ends instead of exhausting the stack. DataListData tells its
// elements apart: while one element is read, the others can be read too.

// A list of data addressed by index: element n is the entry at position n.
// The plain operations go to the first element.
class KOVA_API DataListData : public Data {
    KOVA_RUNTIME_CLASS(DataListData)
public:
    explicit DataListData(const char* name = nullptr);

    bool set(System& system, int index, float value) override;
    bool set(System& system, int index, const unsigned short* text) override;
    bool set(System& system, int index, const char* text) override;
    bool set(System& system, float value) override;
    bool set(System& system, const unsigned short* text) override;
    bool set(System& system, const char* text) override;
    float value(System& system, int index) override;
    float value(System& system) override;
    int character(System& system, int index, int position) override;
    int character(System& system, int position) override;
    int indexCount(System& system) override;
    Data* dataAt(int index) override;
    bool onStream(System& system, Stream& stream) override;

    ObjectList* list() { return &dataList_; }

private:
    struct Visit;
    class Element;

    ObjectList dataList_;
    Visit* visits_ = nullptr;  // the elements being read, innermost first
};

// One element of an indexed data object, picked by the value of another data
// object truncated to an integer.
class KOVA_API IndexDataData : public Data {
    KOVA_RUNTIME_CLASS(IndexDataData)
public:
    explicit IndexDataData(const char* name = nullptr);

    using Data::character;
    using Data::set;
    using Data::value;
    bool set(System& system, float value) override;
    bool set(System& system, const unsigned short* text) override;
    bool set(System& system, const char* text) override;
    float value(System& system) override;
    int character(System& system, int position) override;
    bool onStream(System& system, Stream& stream) override;

    Data* data() { return data_; }
    Data* index() { return index_; }
    void setData(Data* data) { data_ = data; }
    void setIndex(Data* index) { index_ = index; }

private:
    bool element(System& system, int& index);

    Data* data_ = nullptr;
    Data* index_ = nullptr;
    bool reading_ = false;
};

// The number of elements of an indexed data object, read as a number or as
// decimal text.
class KOVA_API IndexCountData : public Data {
    KOVA_RUNTIME_CLASS(IndexCountData)
public:
    explicit IndexCountData(const char* name = nullptr);

    using Data::character;
    using Data::value;
    float value(System& system) override;
    int character(System& system, int position) override;
    bool onStream(System& system, Stream& stream) override;

    Data* data() { return data_; }
    void setData(Data* data) { data_ = data; }

private:
    Data* data_ = nullptr;
};

// The texts of its entries joined into one. Nothing is cached: each
// character measures the texts before it again. It reads as 0 and ignores
// writes.
class KOVA_API ConcatenateListData : public Data {
    KOVA_RUNTIME_CLASS(ConcatenateListData)
public:
    ConcatenateListData();

    using Data::character;
    int character(System& system, int position) override;
    bool onStream(System& system, Stream& stream) override;

    ObjectList* list() { return &dataList_; }

private:
    ObjectList dataList_;
    bool reading_ = false;
};

// ---- Player input data ------------------------------------------------------

// Which pad each player holds on a DynamicIndexPointer, read by index: player
// 0 to 3 gives the zero-based pad as a number. Players without a pad, other
// indexes and other pointers read 0. It has no text, and its non-indexed
// forms are those of Data.
class KOVA_API PlayerInputIndexData : public Data {
    KOVA_RUNTIME_CLASS(PlayerInputIndexData)
public:
    enum { PlayerCount = 4 };

    explicit PlayerInputIndexData(const char* name = nullptr);

    using Data::character;
    using Data::value;
    float value(System& system, int player) override;
    int character(System& system, int player, int position) override;
    int indexCount(System& system) override;
};

// Base of functions that screens call by name. A function keeps its own
// name; a plain Function is a placeholder whose call only logs.
class KOVA_API Function : public Object {
    KOVA_RUNTIME_CLASS(Function)
public:
    explicit Function(const char* name = nullptr);
    ~Function() override;

    const char* name() override { return name_; }
    bool setName(const char* name) override;
    virtual bool call(System& system);

    static bool clear(System& system, Function*& function);

protected:
    char* name_;
};

// A function around a plain callback of the host's. It has no run-time
// record of its own and reports the one of Function.
class KOVA_API StaticFunction : public Function {
public:
    StaticFunction(bool (*callback)(void), const char* name);

    bool call(System& system) override;

private:
    bool (*callback_)(void);
};

// Lets the host trigger a screen's action by name: the call runs the action
// as if Select had been pressed.
class KOVA_API ActionFunction : public Function {
    KOVA_RUNTIME_CLASS(ActionFunction)
public:
    explicit ActionFunction(const char* name = nullptr, Action* action = nullptr);

    bool call(System& system) override;
    bool onStream(System& system, Stream& stream) override;

    Action*& action() { return action_; }

private:
    Action* action_;
};

}  // namespace kova
}  // namespace tarn
