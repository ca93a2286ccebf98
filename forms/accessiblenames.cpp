#include "accessiblenames.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAccessibleWidget>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>

#include <algorithm>

namespace {

QString spoken(QString caption)
{
    return caption.remove(u'&').trimmed();
}

QString nameFromRow(const QWidget* field)
{
    QList<const QLabel*> row;
    for (const QLabel* label :
         field->parentWidget()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        const int middle = label->geometry().center().y();
        if (middle >= field->y() && middle <= field->geometry().bottom())
            row << label;
    }
    std::sort(row.begin(), row.end(),
              [](const QLabel* a, const QLabel* b) { return a->x() < b->x(); });
    QStringList caption;
    QString unit;
    const QLabel* previous = nullptr;
    for (const QLabel* label : row) {
        if (label->x() < field->x()) {
            caption << label->text();
        } else if (previous && label->font().pixelSize() < previous->font().pixelSize()) {
            // A smaller label right after the unit is its exponent: cm and 2, cm².
            static const QString superscripts = QStringLiteral("⁰¹²³⁴⁵⁶⁷⁸⁹");
            for (const QChar c : label->text())
                unit += c.isDigit() ? superscripts.at(c.digitValue()) : c;
        } else {
            unit += (unit.isEmpty() ? QString() : QStringLiteral(" ")) + label->text();
        }
        previous = label;
    }
    QString name = caption.join(u' ');
    if (name.endsWith(QLatin1String(" -")))
        name.chop(2);
    if (!unit.isEmpty())
        name += QStringLiteral(" (%1)").arg(unit);
    return name;
}

// The program's windows are windows to a screen reader, which announces
// them by their captions (a plain QWidget would be a filler).
QAccessibleInterface* formInterface(const QString& className, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (className != QLatin1String("platform::TForm") || !widget || !widget->isWindow())
        return nullptr;
    return new QAccessibleWidget(widget, QAccessible::Window);
}

} // namespace

void nameControlsFromLabels(QWidget* form)
{
    static const bool windows = (QAccessible::installFactory(formInterface), true);
    Q_UNUSED(windows);
    for (QWidget* field : form->findChildren<QWidget*>()) {
        const bool isField = qobject_cast<QAbstractSpinBox*>(field)
            || (qobject_cast<QLineEdit*>(field)
                && !qobject_cast<QAbstractSpinBox*>(field->parentWidget()));
        if (isField)
            field->setAccessibleName(nameFromRow(field));
    }
    for (QAbstractButton* button : form->findChildren<QAbstractButton*>()) {
        if (!button->text().isEmpty())
            button->setAccessibleName(spoken(button->text()));
    }
    for (QTabWidget* tabs : form->findChildren<QTabWidget*>()) {
        for (int i = 0; i < tabs->count(); ++i)
            tabs->widget(i)->setAccessibleName(spoken(tabs->tabText(i)));
    }
}
