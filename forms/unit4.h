#pragma once
// The splash window.

#include "platform/tform.h"

class TForm4 : public platform::TForm {
    Q_OBJECT
public:
    explicit TForm4(QWidget* parent = nullptr);
};

extern TForm4* Form4;
