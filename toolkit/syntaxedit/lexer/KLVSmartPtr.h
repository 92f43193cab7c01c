// A counted reference to a command-target object: the holder owns one reference and gives it
// back when it is replaced or destroyed.
#pragma once

#include "classlib/ClassLib.h"

#include <type_traits>
#include <utility>

template <class T>
class CKLVSmartPtr {
public:
    CKLVSmartPtr() noexcept = default;
    // Takes over the caller's reference (a new object starts with one).
    explicit CKLVSmartPtr(T* p) noexcept : m_p(p) {}
    CKLVSmartPtr(const CKLVSmartPtr& other) noexcept { Assign(other); }
    CKLVSmartPtr(CKLVSmartPtr&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
    // A holder of a derived class hands its reference over.
    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    CKLVSmartPtr(CKLVSmartPtr<U>&& other) noexcept : m_p(other.Detach()) {}
    ~CKLVSmartPtr() { Release(); }

    CKLVSmartPtr& operator=(const CKLVSmartPtr& other) noexcept {
        Assign(other);
        return *this;
    }
    CKLVSmartPtr& operator=(CKLVSmartPtr&& other) noexcept {
        if (this != &other) SetPtr(std::exchange(other.m_p, nullptr));
        return *this;
    }

    // Takes p without adding a reference and releases the old target.
    void SetPtr(T* p) noexcept {
        T* pOld = std::exchange(m_p, p);
        if (pOld && pOld != p) pOld->InternalRelease();
    }
    // Shares the other holder's target, adding a reference.
    void Assign(const CKLVSmartPtr& other) noexcept { AssignRaw(other.m_p); }
    // Shares p (held elsewhere), adding a reference.
    void AssignRaw(T* p) noexcept {
        if (p) p->InternalAddRef();
        T* pOld = std::exchange(m_p, p);
        if (pOld) pOld->InternalRelease();
    }
    void Release() noexcept { SetPtr(nullptr); }
    // Gives up the reference without releasing it.
    T* Detach() noexcept { return std::exchange(m_p, nullptr); }

    T* Get() const noexcept { return m_p; }
    T* operator->() const noexcept { return m_p; }
    T& operator*() const noexcept { return *m_p; }
    explicit operator bool() const noexcept { return m_p != nullptr; }
    bool operator==(const CKLVSmartPtr& other) const noexcept { return m_p == other.m_p; }
    bool operator!=(const CKLVSmartPtr& other) const noexcept { return m_p != other.m_p; }

private:
    T* m_p = nullptr;
};

// A new object held from its first reference.
template <class T, class... ARGS>
CKLVSmartPtr<T> KLVMakeCounted(ARGS&&... args) {
    return CKLVSmartPtr<T>(new T(std::forward<ARGS>(args)...));
}
