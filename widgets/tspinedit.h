#pragma once
// The count field: an edit field with up and down arrows whose text is the
// count. The text may stand outside the range while the user types (a typed
// 0 counts as 0); on leaving the field an integer outside 1-999 becomes the
// nearer bound. Every change of the text, typed or set, emits changed().

#include <QAbstractSpinBox>

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
    void focusOutEvent(QFocusEvent* event) override;
};
