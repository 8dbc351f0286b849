#include "view/window_body.h"

#include "colors.h"

#include "ui/window_layout.h"

#include <QFrame>
#include <QVBoxLayout>

namespace view {

WindowBody buildWindowBody(QWidget* window, chrome::TitleBar::Kind kind)
{
    auto* root = new QVBoxLayout(window);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);

    auto* bar = new chrome::TitleBar(kind, window, window);
    root->addWidget(bar);

    auto* content = new QFrame(window);
    content->setObjectName(QStringLiteral("pnlCenter"));
    content->setFrameShape(QFrame::NoFrame);
    content->setAutoFillBackground(true);
    QPalette palette = content->palette();
    palette.setColor(QPalette::Window, chrome::contentColor());
    content->setPalette(palette);
    root->addWidget(content, 1);
    return {bar, content};
}

QFont windowFont()
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(ui::WindowFontPixelHeight);
    return font;
}

} // namespace view
