#pragma once
// The count field: an edit field with up and down arrows whose text is the
// count. The text may stand outside the range while the user types (a typed
// 0 counts as 0); when another control takes the focus an integer outside
// 1-999 becomes the nearer bound. The arrows, the Up and Down keys and the
// wheel step by one; PageUp and PageDown do nothing. Typed control
// characters other than Enter are taken without a beep, and only Backspace
// edits. Every change of the text, typed or set, emits changed().

#include <QAbstractSpinBox>

class QInputEvent;

class TSpinEdit : public QAbstractSpinBox {
    Q_OBJECT
    Q_PROPERTY(int value READ value WRITE setValue)

public:
    explicit TSpinEdit(QWidget* parent = nullptr);

    // The count the text stands for: the text read as a whole decimal
    // integer; anything else counts as 1.
    [[nodiscard]] int value() const;
    void setValue(int value);

    void setText(const QString& text);

    void stepBy(int steps) override;

signals:
    void changed();

protected:
    [[nodiscard]] StepEnabled stepEnabled() const override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // Takes the modifier that would make a step of ten off the event.
    void dropStepModifier(QInputEvent* event) const;
};
