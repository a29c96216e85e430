// A scope guard over a pair of calls: Begin on construction, End on destruction, also when an exception
// passes. It serves every hide/show and begin/end pair of the program, so that none is ever left
// unbalanced. A guard made from a null pointer does nothing.
#pragma once

template <class T, void (T::*Begin)(), void (T::*End)()>
class TPairGuard {
public:
    explicit TPairGuard(T* object) : FObject(object) {
        if (FObject) (FObject->*Begin)();
    }
    explicit TPairGuard(T& object) : TPairGuard(&object) {}
    ~TPairGuard() {
        if (FObject) (FObject->*End)();
    }
    TPairGuard(const TPairGuard&) = delete;
    TPairGuard& operator=(const TPairGuard&) = delete;

private:
    T* FObject;
};
