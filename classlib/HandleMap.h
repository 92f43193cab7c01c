// CTempHandleMap: the temporary wrapper objects that FromHandle gives for Win32 handles no library
// object owns (windows not created or subclassed here, the previous object SelectObject returns,
// a sub-menu, ...). The map owns them; they live until the thread's message loop idles
// (DeleteAll), so a pointer from FromHandle is valid only within the current message. A
// temporary is emptied before it is deleted: deleting it never destroys the handle.
//
// One map per thread holds the temporaries of every wrapper class, keyed by class and handle, so
// each class gets a temporary of its own type.
#pragma once

#include "classlib/Object.h"

#include <map>
#include <memory>
#include <typeindex>
#include <utility>

class CTempHandleMap {
public:
    CTempHandleMap() = default;
    CTempHandleMap(const CTempHandleMap&) = delete;
    CTempHandleMap& operator=(const CTempHandleMap&) = delete;
    ~CTempHandleMap() { DeleteAll(); }

    // The temporary T that wraps h (made on first request); null for a null handle.
    // HandleMember names T's handle field, which the map sets and clears.
    template <class T, auto HandleMember, class H>
    T* FromHandle(H h) {
        if (!h) return nullptr;
        const Key key(typeid(T), reinterpret_cast<const void*>(h));
        auto found = m_objects.find(key);
        if (found == m_objects.end()) {
            // Made before it is entered, so that a constructor that throws leaves no entry; given
            // its handle last, so that an insertion that throws deletes an empty object.
            Entry entry;
            entry.pObject = std::make_unique<T>();
            entry.pfnClear = [](CObject* pObject) { static_cast<T*>(pObject)->*HandleMember = nullptr; };
            found = m_objects.emplace(key, std::move(entry)).first;
            static_cast<T*>(found->second.pObject.get())->*HandleMember = h;
        }
        return static_cast<T*>(found->second.pObject.get());
    }

    size_t GetCount() const { return m_objects.size(); }

    void DeleteAll() {
        // Detach first, then delete: a destructor may ask the map again.
        std::map<Key, Entry> objects;
        objects.swap(m_objects);
        for (auto& item : objects) item.second.pfnClear(item.second.pObject.get());
    }

private:
    typedef std::pair<std::type_index, const void*> Key;
    struct Entry {
        std::unique_ptr<CObject> pObject;
        void (*pfnClear)(CObject*) = nullptr;
    };
    std::map<Key, Entry> m_objects;
};
