#pragma once
// The main window: the seven inputs of the design, the three results that
// follow every keystroke, and the buttons for the port area, printing,
// help and exit.

#include "calc/real48.h"
#include "platform/tform.h"

#include "ui_Unit1.h"

class TForm1 : public platform::TForm, public Ui::TForm1 {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);

    // The Qtc of the last successful recalculation, as stored; never
    // cleared. The design sheet's answer is decided from it.
    calc::Real48 Qtc;

    // Handlers.
    void FormCreate();
    void Edit1Change();
    void Edit1KeyPress(TEdit* sender, char16_t& key);
    void BitBtn1Click();
    void BitBtn3Click();
    void BitBtn4Click();

protected:
    void FormClose() override;

private:
    // The seven input fields in the order the recalculation reads them.
    [[nodiscard]] std::array<TEdit*, 7> inputFields() const;
};

extern TForm1* Form1;
