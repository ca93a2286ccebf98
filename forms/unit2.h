#pragma once
// The port area window.

#include "platform/tform.h"

class TForm2 : public platform::TForm {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);
};

extern TForm2* Form2;
