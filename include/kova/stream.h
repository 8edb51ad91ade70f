// Kova streams: the field visitor through which every class lists its
// persisted fields once, and the byte streams the host implements.
#pragma once

#include "kova/runtime.h"

namespace tarn {
namespace kova {

class List;
class Event;
class Action;
class Data;
class Effect;
class Function;
class Node;
class Style;
class Tree;

// One call per field, each naming the field's type by the operation chosen and
// carrying a label for readers of the source. What a call means is up to the
// stream: read, write, clear or re-register.
class KOVA_API Stream : public RuntimeObject {
public:
    Stream() = default;

    virtual bool stream() { return false; }
    virtual bool streamUbyte(unsigned char& value, const char* label);
    virtual bool streamSbyte(signed char& value, const char* label);
    virtual bool streamUshort(unsigned short& value, const char* label);
    virtual bool streamSshort(short& value, const char* label);
    virtual bool streamUlong(unsigned int& value, const char* label);
    virtual bool streamSlong(int& value, const char* label);
    virtual bool streamFloat(float& value, const char* label);
    virtual bool streamBool(bool& value, const char* label);
    virtual bool streamInt(int& value, const char* label);
    virtual bool streamString(char*& value, const char* label);
    virtual bool streamWstring(unsigned short*& value, const char* label);
    virtual bool streamWchar(unsigned short& value, const char* label);
    virtual bool streamPicture(System& system, int& handle, const char* label);
    virtual bool streamFont(System& system, int& handle, const char* label);
    virtual bool streamSound(System& system, int& handle, const char* label);
    virtual bool streamList(System& system, List& list, const char* label);
    virtual bool streamIndex(int& value, int (*toIndex)(int), const char* (*toName)(int),
                             const char* label);
    virtual bool streamObject(System& system, Object*& reference, const char* label,
                              RuntimeClass* requiredClass);
    virtual bool streamEvent(System& system, Event*& reference, const char* label,
                             RuntimeClass* requiredClass);
    virtual bool streamAction(System& system, Action*& reference, const char* label,
                              RuntimeClass* requiredClass);
    virtual bool streamData(System& system, Data*& reference, const char* label,
                            RuntimeClass* requiredClass);
    virtual bool streamEffect(System& system, Effect*& reference, const char* label,
                              RuntimeClass* requiredClass);
    virtual bool streamFunction(System& system, Function*& reference, const char* label,
                                RuntimeClass* requiredClass);
    virtual bool streamNode(System& system, Node*& reference, const char* label,
                            RuntimeClass* requiredClass);
    virtual bool streamStyle(System& system, Style*& reference, const char* label,
                             RuntimeClass* requiredClass);
    virtual bool streamTree(System& system, Tree*& reference, const char* label,
                            RuntimeClass* requiredClass);
    virtual bool streamChildNode(System& system, Node*& reference, const char* label,
                                 RuntimeClass* requiredClass);
    virtual bool streamNextNode(System& system, Node*& reference, const char* label,
                                RuntimeClass* requiredClass);
};

// Input stream. A host stream overrides the raw operations; typed reads are
// made through firstStream(), so a wrapper placed in front sees every read.
// Numbers are little-endian on every host.
class KOVA_API IStream : public Stream {
    KOVA_RUNTIME_CLASS(IStream)
public:
    explicit IStream(IStream* link = nullptr);

    virtual int available() { return 0; }
    virtual int skip(int) { return 0; }
    virtual int readBuffer(void*, int) { return 0; }
    virtual int position() { return 0; }
    virtual bool setPosition(int) { return false; }
    virtual bool streamStaticString(System& system, char* buffer, int maxLength, const char* label);

    bool streamUbyte(unsigned char& value, const char* label) override;
    bool streamSbyte(signed char& value, const char* label) override;
    bool streamUshort(unsigned short& value, const char* label) override;
    bool streamSshort(short& value, const char* label) override;
    bool streamUlong(unsigned int& value, const char* label) override;
    bool streamSlong(int& value, const char* label) override;
    bool streamFloat(float& value, const char* label) override;
    bool streamBool(bool& value, const char* label) override;
    bool streamInt(int& value, const char* label) override;
    bool streamString(char*& value, const char* label) override;
    bool streamWstring(unsigned short*& value, const char* label) override;
    bool streamWchar(unsigned short& value, const char* label) override;
    bool streamPicture(System& system, int& handle, const char* label) override;
    bool streamFont(System& system, int& handle, const char* label) override;
    bool streamSound(System& system, int& handle, const char* label) override;
    bool streamList(System& system, List& list, const char* label) override;
    bool streamIndex(int& value, int (*toIndex)(int), const char* (*toName)(int),
                     const char* label) override;
    bool streamObject(System& system, Object*& reference, const char* label,
                      RuntimeClass* requiredClass) override;

    IStream* firstStream();
    IStream* link() { return link_; }
    void setLink(IStream* link) { link_ = link ? link : this; }

private:
    bool readBytes(unsigned char* bytes, int count);
    bool readLength(int& length, int unitSize);
    bool readResourceName(char* buffer);

    IStream* link_;
};

// Output stream. A host stream overrides the raw operations; typed writes go
// through the stream's own operations. Numbers are little-endian on every host.
class KOVA_API OStream : public Stream {
    KOVA_RUNTIME_CLASS(OStream)
public:
    OStream() = default;

    virtual int writeBuffer(const void*, int) { return 0; }
    virtual void flush() {}
    virtual int position() { return 0; }
    virtual bool setPosition(int) { return false; }
    virtual bool streamStaticString(System& system, const char* text, const char* label);

    bool streamUbyte(unsigned char& value, const char* label) override;
    bool streamSbyte(signed char& value, const char* label) override;
    bool streamUshort(unsigned short& value, const char* label) override;
    bool streamSshort(short& value, const char* label) override;
    bool streamUlong(unsigned int& value, const char* label) override;
    bool streamSlong(int& value, const char* label) override;
    bool streamFloat(float& value, const char* label) override;
    bool streamBool(bool& value, const char* label) override;
    bool streamInt(int& value, const char* label) override;
    bool streamString(char*& value, const char* label) override;
    bool streamWstring(unsigned short*& value, const char* label) override;
    bool streamWchar(unsigned short& value, const char* label) override;
    bool streamPicture(System& system, int& handle, const char* label) override;
    bool streamFont(System& system, int& handle, const char* label) override;
    bool streamSound(System& system, int& handle, const char* label) override;
    bool streamList(System& system, List& list, const char* label) override;
    bool streamIndex(int& value, int (*toIndex)(int), const char* (*toName)(int),
                     const char* label) override;
    bool streamObject(System& system, Object*& reference, const char* label,
                      RuntimeClass* requiredClass) override;

private:
    bool writeBytes(const unsigned char* bytes, int count);
    bool writeShortText(const char* text);
};

// An output stream into a fixed memory buffer. A write that does not fit is
// cut and reports fewer bytes, which fails the field.
class KOVA_API MemoryOStream : public OStream {
public:
    explicit MemoryOStream(int size);
    ~MemoryOStream() override;

    int writeBuffer(const void* data, int size) override;
    void flush() override {}
    int position() override { return position_; }
    bool setPosition(int position) override;

    const unsigned char* buffer() const { return buffer_; }
    int size() const { return size_; }

private:
    unsigned char* buffer_;
    int size_;
    int position_ = 0;
};

// Passes everything on to a target stream and places itself in front of it,
// so the target's typed reads come back through the proxy. Subclasses
// override a primitive to change every read, whichever stream the caller holds.
class KOVA_API ProxyIStream : public IStream {
public:
    ProxyIStream(IStream* target, bool ownsTarget);
    ~ProxyIStream() override;

    int available() override;
    int skip(int count) override;
    int readBuffer(void* buffer, int size) override;
    int position() override;
    bool setPosition(int position) override;
    bool streamStaticString(System& system, char* buffer, int maxLength,
                            const char* label) override;

    bool streamUbyte(unsigned char& value, const char* label) override;
    bool streamSbyte(signed char& value, const char* label) override;
    bool streamUshort(unsigned short& value, const char* label) override;
    bool streamSshort(short& value, const char* label) override;
    bool streamUlong(unsigned int& value, const char* label) override;
    bool streamSlong(int& value, const char* label) override;
    bool streamFloat(float& value, const char* label) override;
    bool streamBool(bool& value, const char* label) override;
    bool streamInt(int& value, const char* label) override;
    bool streamString(char*& value, const char* label) override;
    bool streamWstring(unsigned short*& value, const char* label) override;
    bool streamWchar(unsigned short& value, const char* label) override;
    bool streamPicture(System& system, int& handle, const char* label) override;
    bool streamFont(System& system, int& handle, const char* label) override;
    bool streamSound(System& system, int& handle, const char* label) override;
    bool streamList(System& system, List& list, const char* label) override;
    bool streamIndex(int& value, int (*toIndex)(int), const char* (*toName)(int),
                     const char* label) override;
    bool streamObject(System& system, Object*& reference, const char* label,
                      RuntimeClass* requiredClass) override;

    IStream* target() { return target_; }
    bool ownsTarget() const { return ownsTarget_; }

private:
    IStream* target_;
    bool ownsTarget_;
};

// Passes the field operations on to a target stream, which it owns. Lists and
// object records are written through the proxy itself, so the static strings
// inside nested records pass through the proxy's own streamStaticString.
class KOVA_API ProxyOStream : public OStream {
public:
    explicit ProxyOStream(OStream* target);
    ~ProxyOStream() override;

    int writeBuffer(const void* data, int size) override;
    void flush() override;
    int position() override;
    bool setPosition(int position) override;
    bool streamStaticString(System& system, const char* text, const char* label) override;

    bool streamUbyte(unsigned char& value, const char* label) override;
    bool streamSbyte(signed char& value, const char* label) override;
    bool streamUshort(unsigned short& value, const char* label) override;
    bool streamSshort(short& value, const char* label) override;
    bool streamUlong(unsigned int& value, const char* label) override;
    bool streamSlong(int& value, const char* label) override;
    bool streamFloat(float& value, const char* label) override;
    bool streamBool(bool& value, const char* label) override;
    bool streamInt(int& value, const char* label) override;
    bool streamString(char*& value, const char* label) override;
    bool streamWstring(unsigned short*& value, const char* label) override;
    bool streamWchar(unsigned short& value, const char* label) override;
    bool streamPicture(System& system, int& handle, const char* label) override;
    bool streamFont(System& system, int& handle, const char* label) override;
    bool streamSound(System& system, int& handle, const char* label) override;
    bool streamList(System& system, List& list, const char* label) override;
    bool streamIndex(int& value, int (*toIndex)(int), const char* (*toName)(int),
                     const char* label) override;
    bool streamObject(System& system, Object*& reference, const char* label,
                      RuntimeClass* requiredClass) override;

    OStream* target() { return target_; }

protected:
    // A subclass may switch the stream it writes to; the proxy destroys
    // whatever target it holds when it dies.
    void setTarget(OStream* target) { target_ = target; }

private:
    OStream* target_;
};

// The releasing pass: every owned object reached through the fields is
// cleared and destroyed. Named objects belong to the name directory and are
// only let go, unless the pass clears named objects too (it then empties
// them but keeps them alive).
class KOVA_API ClearStream : public Stream {
public:
    explicit ClearStream(bool clearNamedObjects) : clearNamedObjects_(clearNamedObjects) {}

    bool stream() override { return true; }
    bool streamList(System& system, List& list, const char* label) override;
    bool streamObject(System& system, Object*& reference, const char* label,
                      RuntimeClass* requiredClass) override;
    virtual bool destroyObject(RuntimeObject*& reference);

private:
    bool clearNamedObjects_;
};

// The re-registration pass: every reference to the old object is replaced
// by a reference to the new one. Named objects are entered once, from the
// directory, never through another named object.
class KOVA_API RegisterStream : public Stream {
public:
    RegisterStream(Object* oldObject, Object* newObject)
        : oldObject_(oldObject), newObject_(newObject) {}

    bool stream() override { return true; }
    bool streamObject(System& system, Object*& reference, const char* label,
                      RuntimeClass* requiredClass) override;
    bool check(System& system);

private:
    Object* oldObject_;
    Object* newObject_;
    bool insideNamedObject_ = false;
};

// Writes one object file: the body is gathered in memory while the table of
// names grows, then the header, the table and the body go to the host stream.
class KOVA_API ClassOStream : public ProxyOStream {
public:
    enum { TableSlots = 512, BodySize = 524288 };

    explicit ClassOStream(OStream* target);
    ~ClassOStream() override;

    bool streamStaticString(System& system, const char* text, const char* label) override;
    bool streamFinished(System& system);

    int nameCount() const { return nameCount_; }
    const char* name(int index) const;  // 1-based, as stored in the file

private:
    enum { HashSlots = 2 * TableSlots };  // at most half full

    char* table_[TableSlots] = {};
    int nameCount_ = 0;
    OStream* host_;
    MemoryOStream body_;
    // The table's names by hash: each slot holds a 1-based index, 0 when free.
    unsigned short hashed_[HashSlots] = {};
};

// Reads one object file: the header and the table of names first, then the
// body, whose static strings are indexes into that table.
class KOVA_API ClassIStream : public ProxyIStream {
    KOVA_RUNTIME_CLASS(ClassIStream)
public:
    enum { TableSlots = 512 };

    explicit ClassIStream(IStream* source = nullptr);
    ~ClassIStream() override;

    bool readHeader(System& system);
    bool streamStaticString(System& system, char* buffer, int maxLength,
                            const char* label) override;
    int position() override;
    bool setPosition(int position) override;

    int nameCount() const { return nameCount_; }

private:
    bool appendName(const char* text);

    int bodyStart_ = 0;
    char* table_[TableSlots] = {};  // into names_
    int nameCount_ = 0;
    unsigned char lengths_[TableSlots] = {};  // of the table's names, read once
    char* names_ = nullptr;                   // the names, one after another
    int namesSize_ = 0;
    int namesUsed_ = 0;
};

// Records a load: every byte read from the source is appended to the cache
// file. Skipped bytes are not copied.
class KOVA_API OutputIStream : public ProxyIStream {
public:
    OutputIStream(OStream* copy, IStream* source);

    int readBuffer(void* buffer, int size) override;

private:
    OStream* copy_;
};

// Replays a recorded load from the shared cache stream. Skips only advance
// the reported position: the recording never held the skipped bytes.
class KOVA_API CachedIStream : public ProxyIStream {
public:
    explicit CachedIStream(IStream* cache);

    int readBuffer(void* buffer, int size) override;
    int skip(int count) override;
    int position() override;

private:
    void reclaimLink();

    int start_;
    int skipped_ = 0;
};

}  // namespace kova
}  // namespace tarn
