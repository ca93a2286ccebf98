#pragma once
// The single-line edit field of the program's windows.
//
// Unlike QLineEdit's own maxLength, maxTypedLength limits only what the user
// types or pastes (a paste is cut to the room left); a text set by the
// program is taken whole. The key hook sees each typed character as a
// character code, decided from the key and its modifiers, before the field
// takes it, and may discard it.

#include <QClipboard>
#include <QLineEdit>

#include <functional>
#include <optional>

class QAction;
class QKeyEvent;
class QMenu;

class TEdit : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(int maxTypedLength READ maxTypedLength WRITE setMaxTypedLength)

public:
    explicit TEdit(QWidget* parent = nullptr);

    // 0: no limit.
    [[nodiscard]] int maxTypedLength() const { return maxTypedLength_; }
    void setMaxTypedLength(int length) { maxTypedLength_ = length; }

    // The key hook (OnKeyPress): receives the typed character and may set it
    // to 0 to discard it.
    using KeyPressHandler = std::function<void(TEdit* sender, char16_t& key)>;
    void setOnKeyPress(KeyPressHandler handler) { onKeyPress_ = std::move(handler); }

    // The character a key event types, as the key hook receives it:
    // printable characters, Backspace 8, Enter 13, Escape 27; with Ctrl,
    // letters 1-26, "@" 0, "[" "\" "]" "^" "_" 27-31, the blank 32,
    // Enter 10 and Backspace 127. Keys that type no character (arrows,
    // Home, End, Delete, Tab, function keys, Shift+Insert, Alt
    // combinations) give none.
    static std::optional<char16_t> typedCharacter(const QKeyEvent* event);

    // Qt's editing keys that type no character and that the fields do not
    // have: deleting a word or a line at once, undo and redo.
    static bool isForeignEditingKey(const QKeyEvent* event);

    // Paste from the clipboard (or the X11 primary selection), unfiltered,
    // cut to the room that the typed limit leaves (and to the first line).
    void pasteLimited(QClipboard::Mode mode = QClipboard::Clipboard);

    // Inserts text as typing or pasting would: cut to the room left.
    void insertLimited(const QString& text);

    // The Paste entry of a field's context menu.
    static QAction* pasteAction(const QMenu* menu);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    [[nodiscard]] int roomLeft() const;

    int maxTypedLength_ = 0;
    KeyPressHandler onKeyPress_;
};
