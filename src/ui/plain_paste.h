#pragma once

#include <QMimeData>
#include <QTextCursor>

namespace letterloom::ui {

// A text editor (QPlainTextEdit, QTextEdit, QTextBrowser) that takes from a
// paste, a middle click or a drop only the plain text there is. The toolkit's
// own handling reads past the end of a clipboard that holds nothing (after a
// login, or once the program that copied has closed) and brings the program
// down; here empty data inserts nothing.
template <class Editor>
class PlainPaste : public Editor {
public:
    using Editor::Editor;

protected:
    bool canInsertFromMimeData(const QMimeData *source) const override
    {
        return source && source->hasText() && !source->text().isEmpty();
    }

    void insertFromMimeData(const QMimeData *source) override
    {
        if (!canInsertFromMimeData(source) || this->isReadOnly())
            return;
        QTextCursor cursor = this->textCursor();
        cursor.insertText(source->text());
        this->setTextCursor(cursor);
        this->ensureCursorVisible();
    }
};

}  // namespace letterloom::ui
