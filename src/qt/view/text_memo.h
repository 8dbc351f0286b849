#pragma once

#include <QPlainTextEdit>

namespace view {

// A borderless white multi-line box in the windows' font, word-wrapped and
// without scroll bars. Tab stays in the box: it inserts a tab character when
// the box is editable, and does nothing when it is read-only.
class TextMemo : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TextMemo(QWidget* parent = nullptr);

protected:
    bool focusNextPrevChild(bool next) override;
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace view
