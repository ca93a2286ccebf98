#include "tedit.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QRegularExpression>

#include <algorithm>
#include <limits>

TEdit::TEdit(QWidget* parent) : QLineEdit(parent)
{
    // Text is only typed or pasted; dropping text would bypass the limit.
    setAcceptDrops(false);
}

std::optional<char16_t> TEdit::typedCharacter(const QKeyEvent* event)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const int key = event->key();
    const bool ctrl = mods & Qt::ControlModifier;
    const bool alt = mods & Qt::AltModifier;

    if (alt && !ctrl)
        return std::nullopt; // accelerators and menus, never the field's
    if (ctrl && !alt) {
        if (key >= Qt::Key_A && key <= Qt::Key_Z)
            return static_cast<char16_t>(key - Qt::Key_A + 1);
        switch (key) {
        case Qt::Key_At: return char16_t{0};
        case Qt::Key_BracketLeft: return char16_t{27};
        case Qt::Key_Backslash: return char16_t{28};
        case Qt::Key_BracketRight: return char16_t{29};
        case Qt::Key_AsciiCircum: return char16_t{30};
        case Qt::Key_Underscore: return char16_t{31};
        case Qt::Key_Space: return u' ';
        case Qt::Key_Backspace: return char16_t{127};
        case Qt::Key_Return:
        case Qt::Key_Enter: return char16_t{10};
        default: return std::nullopt; // Ctrl+Insert, Ctrl+arrows and the like
        }
    }
    switch (key) {
    case Qt::Key_Backspace: return char16_t{8};
    case Qt::Key_Return:
    case Qt::Key_Enter: return char16_t{13};
    case Qt::Key_Escape: return char16_t{27};
    default: break;
    }
    // Qt's special keys (arrows, Delete, Tab, Insert, F1, ...) start at
    // Key_Escape; none of them types a character.
    if (key >= Qt::Key_Escape && key != Qt::Key_unknown)
        return std::nullopt;
    // A printable key: its text says which character (the key code is the
    // upper-case one, and keyboard layouts differ); a key Qt could not name
    // has only its text.
    const QString text = event->text();
    if (!text.isEmpty() && text.at(0).unicode() >= 0x20 && text.at(0).unicode() != 0x7F)
        return text.at(0).unicode();
    if (key > 0x1F && key < Qt::Key_Escape && key != 0x7F)
        return static_cast<char16_t>(key);
    return std::nullopt;
}

int TEdit::roomLeft() const
{
    if (maxTypedLength_ <= 0)
        return std::numeric_limits<int>::max();
    const int kept = static_cast<int>(text().size() - selectedText().size());
    return std::max(0, maxTypedLength_ - kept);
}

void TEdit::insertLimited(const QString& text)
{
    if (isReadOnly())
        return;
    QString piece = text;
    const qsizetype lineEnd = piece.indexOf(QRegularExpression(QStringLiteral("[\r\n]")));
    if (lineEnd >= 0)
        piece.truncate(lineEnd);
    piece.truncate(std::min<qsizetype>(piece.size(), roomLeft()));
    if (!piece.isEmpty() || hasSelectedText())
        insert(piece);
}

void TEdit::pasteLimited(QClipboard::Mode mode)
{
    insertLimited(QGuiApplication::clipboard()->text(mode));
}

bool TEdit::isForeignEditingKey(const QKeyEvent* event)
{
    for (const auto key : {QKeySequence::DeleteStartOfWord, QKeySequence::DeleteEndOfWord,
                           QKeySequence::DeleteEndOfLine, QKeySequence::DeleteCompleteLine,
                           QKeySequence::Undo, QKeySequence::Redo}) {
        if (event->matches(key))
            return true;
    }
    return false;
}

void TEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Paste)) {
        // Shift+Insert (and, unless the hook refuses it, Ctrl+V) pastes
        // without the filter, cut to the room left.
        const auto ch = typedCharacter(event);
        if (ch && onKeyPress_) {
            char16_t key = *ch;
            onKeyPress_(this, key);
            if (key == 0)
                return;
        }
        pasteLimited();
        return;
    }

    const auto ch = typedCharacter(event);
    if (!ch) {
        if (!isForeignEditingKey(event))
            QLineEdit::keyPressEvent(event);
        return;
    }
    char16_t key = *ch;
    if (onKeyPress_)
        onKeyPress_(this, key);
    if (key == 0)
        return; // discarded by the hook

    switch (key) {
    case 8:
        if (!isReadOnly()) {
            if (hasSelectedText())
                del();
            else
                backspace();
        }
        return;
    case 13:
    case 27:
        QLineEdit::keyPressEvent(event); // returnPressed; no text change
        return;
    default: break;
    }
    if (key < 0x20 || key == 0x7F) {
        // Ctrl+letters the hook let through keep their editing meaning
        // (Ctrl+C copies, Ctrl+A selects, ...).
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (roomLeft() > 0 && !isReadOnly())
        insert(QString(QChar(key)));
}

QAction* TEdit::pasteAction(const QMenu* menu)
{
    // The standard menu names its actions only by their (translated) texts.
    const QString paste = QLineEdit::tr("&Paste");
    for (QAction* action : menu->actions()) {
        if (action->text().startsWith(paste))
            return action;
    }
    return nullptr;
}

void TEdit::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = createStandardContextMenu();
    // The menu's Paste goes through the typed limit like Shift+Insert.
    if (QAction* action = pasteAction(menu)) {
        action->disconnect();
        connect(action, &QAction::triggered, this, [this] { pasteLimited(); });
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void TEdit::mouseReleaseEvent(QMouseEvent* event)
{
    // The middle button pastes the primary selection as Paste does.
    if (event->button() == Qt::MiddleButton && !isReadOnly()
        && QGuiApplication::clipboard()->supportsSelection()) {
        deselect();
        pasteLimited(QClipboard::Selection);
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void TEdit::inputMethodEvent(QInputMethodEvent* event)
{
    // Composed text counts as typed: each character passes the hook.
    QString accepted;
    for (const QChar c : event->commitString()) {
        char16_t key = c.unicode();
        if (onKeyPress_)
            onKeyPress_(this, key);
        if (key >= 0x20)
            accepted.append(QChar(key));
    }
    accepted.truncate(std::min<qsizetype>(accepted.size(), roomLeft()));
    QInputMethodEvent filtered(event->preeditString(), event->attributes());
    filtered.setCommitString(accepted, event->replacementStart(), event->replacementLength());
    QLineEdit::inputMethodEvent(&filtered);
}
