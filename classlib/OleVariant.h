// COleDateTime and COleVariant: a date value and an owning VARIANT, with their archive forms.
#pragma once

#include "classlib/Archive.h"

#include <oleauto.h>

class COleDateTime {
public:
    enum DateTimeStatus { error = -1, valid = 0, invalid = 1, null = 2 };

    COleDateTime() noexcept : m_dt(0), m_status(valid) {}
    explicit COleDateTime(DATE dtSrc) noexcept : m_dt(dtSrc), m_status(valid) {}

    DateTimeStatus GetStatus() const noexcept { return m_status; }
    void SetStatus(DateTimeStatus status) noexcept { m_status = status; }
    bool operator==(const COleDateTime& other) const noexcept {
        return m_status == other.m_status && m_dt == other.m_dt;
    }

    DATE m_dt;
    DateTimeStatus m_status;
};

// Archive form: the status as a 32-bit integer, then the date as a double.
CArchive& operator<<(CArchive& ar, const COleDateTime& dateSrc);
CArchive& operator>>(CArchive& ar, COleDateTime& dateSrc);

// A VARIANT that owns what it holds (VariantClear on destruction and reassignment).
class COleVariant : public tagVARIANT {
public:
    COleVariant() noexcept { VariantInit(this); }
    COleVariant(const VARIANT& varSrc);
    COleVariant(const COleVariant& varSrc);
    COleVariant(LONG lSrc, VARTYPE vtSrc = VT_I4);
    COleVariant(double dblSrc) noexcept;
    COleVariant(LPCSTR lpszSrc);
    ~COleVariant() { VariantClear(this); }

    COleVariant& operator=(const VARIANT& varSrc);
    COleVariant& operator=(const COleVariant& varSrc) { return *this = static_cast<const VARIANT&>(varSrc); }
    // Same type and same value (strings compared byte for byte).
    bool operator==(const VARIANT& varSrc) const;

    void Clear() { VariantClear(this); }
};

// Archive form: the 16-bit type, then the value's bytes; a BSTR as its 32-bit byte length and
// those bytes. Types without a byte form (objects, arrays, references) throw
// CArchiveException::genericException both ways.
CArchive& operator<<(CArchive& ar, const COleVariant& varSrc);
CArchive& operator>>(CArchive& ar, COleVariant& varSrc);
