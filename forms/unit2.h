#pragma once
// The port area window: one tab per port shape, the area recomputed on
// every change, and the insert button that puts the active tab's area into
// the main window's S field.

#include "calc/portarea.h"
#include "platform/tform.h"

#include "ui_Unit2.h"

#include <initializer_list>

class TForm2 : public platform::TForm, public Ui::TForm2 {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);

    // Handlers.
    void Edit1KeyPress(TEdit* sender, char16_t& key);
    void Edit1Change();   // circle
    void edit3Change();   // rectangle
    void Edit2Change();   // square
    void Edit8Change();   // triangle
    void Edit6Change();   // the insert button follows the active tab's area
    void BitBtn12Click(); // insert
    void BitBtn1Click();  // help
    void BitBtn2Click();  // back

private:
    // The area field of the active tab, testing the four tabs in order.
    [[nodiscard]] TEdit* activeAreaField() const;
    void computeArea(calc::PortShape shape, std::initializer_list<const TEdit*> dimensions,
                     const TSpinEdit* count, TEdit* area);
};

extern TForm2* Form2;
