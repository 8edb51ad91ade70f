// A minimal Kova host: logs to standard output, creates and destroys engine
// objects by class name and prints the class chain.
#include <cstdio>

#include "kova/kova.h"

using namespace tarn::kova;

// The host's information stream: log text goes to standard output.
class ConsoleStream : public OStream {
public:
    int writeBuffer(const void* data, int size) override {
        return static_cast<int>(std::fwrite(data, 1, static_cast<std::size_t>(size), stdout));
    }
};

class MinimalHost : public System {
public:
    MinimalHost() : System(640.0f, 480.0f) {}
    OStream* infoOStream() override { return &console_; }

private:
    ConsoleStream console_;
};

int main() {
    MinimalHost host;
    host.init();
    host.printf("Kova: Info: Screen is %gx%g\r\n", host.width(), host.height());

    const char* classNames[] = {"Node", "tarn::kova::Pointer", "NoSuchClass"};
    for (const char* className : classNames) {
        Object* object = nullptr;
        RuntimeClass* cls = RuntimeClass::findClass(className);
        if (!cls) {
            host.printf("Kova: Error: Class '%s' not found\r\n", className);
            continue;
        }
        Object::create(host, object, cls);
        host.printf("Kova: Info: Created %s, %d live\r\n", object->actualClass()->name(),
                    cls->classInstanceCount());
        Object::clear(host, object);
        host.printf("Kova: Info: Destroyed it, %d live\r\n", cls->classInstanceCount());
    }

    for (RuntimeClass* c = RuntimeClass::firstClass(nullptr); c; c = c->nextClass(nullptr)) {
        RuntimeClass* parent = c->parentClass();
        std::printf("%-24s %s\n", c->name(), parent ? parent->name() : "-");
    }

    host.update(0.016f);
    host.paint();
    host.exit();
    return RuntimeClass::totalClassInstanceCount() == 0 ? 0 : 1;
}
