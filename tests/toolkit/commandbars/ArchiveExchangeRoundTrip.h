// Exchanges through the archive back-end into bytes and back, as a stored layout would be.
#pragma once

#include "classlib/MemFile.h"
#include "toolkit/commandbars/controlbase/Control.h"
#include "toolkit/common/PropExchangeArchive.h"

#include <cstdlib>
#include <functional>
#include <string>

namespace commandbars_test {

using Bytes = std::string;

// An archive store that, like the keyed stores, may leave out what holds its default.
class COmittingArchiveExchange : public CKLVPropExchangeArchive {
public:
    using CKLVPropExchangeArchive::CKLVPropExchangeArchive;
    BOOL CanOmitDefaults() const override { return TRUE; }
};

inline Bytes StoreWith(const std::function<void(CKLVPropExchange*)>& write, BOOL bOmitDefaults = FALSE) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        if (bOmitDefaults) {
            COmittingArchiveExchange px(ar);
            write(&px);
        } else {
            CKLVPropExchangeArchive px(ar);
            write(&px);
        }
    }
    const size_t length = static_cast<size_t>(file.GetLength());
    BYTE* data = file.Detach();
    Bytes bytes(reinterpret_cast<char*>(data), length);
    std::free(data);
    return bytes;
}

inline void LoadWith(Bytes bytes, const std::function<void(CKLVPropExchange*)>& read) {
    CMemFile file(reinterpret_cast<BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    CKLVPropExchangeArchive px(ar);
    read(&px);
}

// Stores one control's keys and loads them into another, both at the schema.
inline void RoundTrip(CKLVControl* pStored, CKLVControl* pLoaded, UINT nSchema) {
    const Bytes bytes = StoreWith([&](CKLVPropExchange* px) {
        px->m_dwSchema = nSchema;
        pStored->DoPropExchange(px);
    });
    LoadWith(bytes, [&](CKLVPropExchange* px) {
        px->m_dwSchema = nSchema;
        pLoaded->DoPropExchange(px);
    });
}

}  // namespace commandbars_test
