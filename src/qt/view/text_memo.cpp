#include "view/text_memo.h"

#include <QKeyEvent>

namespace view {

TextMemo::TextMemo(QWidget* parent) : QPlainTextEdit(parent)
{
    setFrameShape(QFrame::NoFrame);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabChangesFocus(false);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Base, Qt::white);
    setPalette(p);
}

bool TextMemo::focusNextPrevChild(bool)
{
    return false;
}

void TextMemo::keyPressEvent(QKeyEvent* event)
{
    if (isReadOnly() && (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab)) {
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

} // namespace view
