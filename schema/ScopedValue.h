#ifndef KELVANE_SCHEMA_SCOPEDVALUE_H
#define KELVANE_SCHEMA_SCOPEDVALUE_H

#include <utility>

// Gives a variable a value for the life of the object and puts the old one
// back afterwards, also when an exception leaves the scope.
template <typename T>
class ScopedValue {
public:
    ScopedValue(T& target, T value) : target_(target), saved_(std::move(target))
    {
        target_ = std::move(value);
    }
    ~ScopedValue() { target_ = std::move(saved_); }
    ScopedValue(const ScopedValue&) = delete;
    ScopedValue& operator=(const ScopedValue&) = delete;

private:
    T& target_;
    T saved_;
};

#endif
