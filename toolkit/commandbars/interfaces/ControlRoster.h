// A list that names controls it does not own (a ribbon group). The control it last took tells it
// when the control is freed, so the list never keeps a freed control.
#pragma once

class CKLVControl;

class CKLVControlRoster {
public:
    virtual void ForgetControl(CKLVControl* pControl) = 0;

protected:
    ~CKLVControlRoster() = default;
};
