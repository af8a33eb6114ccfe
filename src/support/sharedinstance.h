#pragma once

#include <QtGlobal>

namespace Vandra {

// The one object of a kind that each program makes at start-up, in a fixed order and ended
// before the application object (see ProgramObjects), and that the rest of the code reaches
// through T::shared(). Using it before it is made, or after it ended, is a fault of the
// program, so it stops there rather than make one on first use.
template <typename T> class SharedInstance {
public:
    [[nodiscard]] static T &shared() {
        if (!s_current)
            qFatal("The shared %s is used outside the lifetime of the program's objects",
                   T::staticMetaObject.className());
        return *s_current;
    }
    // Makes object the shared one; none when object is null. For the start-up code that
    // owns it, and for tests of a layer below the one that knows all the shared objects.
    static void install(T *object) { s_current = object; }

protected:
    SharedInstance() = default;
    ~SharedInstance() = default;

private:
    static inline T *s_current = nullptr;
};

} // namespace Vandra
