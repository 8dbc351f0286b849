// The grid lays out a short guess of a cell's first line before the whole
// stretch that can reach the visible part. Whichever it keeps, the grid must
// look exactly as when the whole stretch is laid out. Likewise its title row
// paints only the visible stretch of a section's background, and must look
// exactly as when the whole section is painted.

#include "window_fixture.h"

#include "view/result_grid.h"
#include "view/result_model.h"
#include "view/search_window.h"

#include <QLabel>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTest>
#include <QTextLayout>

using testing_support::Windows;

namespace {

// The cell painting with the whole stretch laid out at once.
class WholeStretchDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, QModelIndex());
        const QWidget* widget = option.widget;
        if (QStyle* style = widget ? widget->style() : nullptr)
            style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, painter, widget);
        const auto* model = qobject_cast<const view::ResultModel*>(index.model());
        const quelvo::FieldValue value = model->field(index.row(), index.column());
        if (value.isNull || value.size == 0)
            return;
        const QRect textRect = option.rect.adjusted(2, 2, -2, 0);
        int visibleWidth = textRect.width();
        if (widget)
            visibleWidth = std::min(visibleWidth, std::max(0, widget->width() - textRect.left()));
        std::size_t length = std::min<std::size_t>(value.size, static_cast<std::size_t>(visibleWidth) + 64);
        for (std::size_t i = 0; i < length; ++i) {
            if (value.data[i] == u'\r' || value.data[i] == u'\n') {
                length = i;
                break;
            }
        }
        QTextOption textOption(Qt::AlignLeft);
        textOption.setWrapMode(QTextOption::WordWrap);
        textOption.setTabStopDistance(8 * QFontMetricsF(option.font).averageCharWidth());
        QTextLayout layout(
            QString::fromRawData(reinterpret_cast<const QChar*>(value.data), static_cast<qsizetype>(length)),
            option.font);
        layout.setTextOption(textOption);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        if (line.isValid())
            line.setLineWidth(textRect.width());
        layout.endLayout();
        painter->save();
        painter->setClipRect(textRect.intersected(option.rect));
        painter->setPen(option.state & QStyle::State_Selected ? option.palette.highlightedText().color()
                                                              : option.palette.text().color());
        if (line.isValid())
            line.draw(painter, textRect.topLeft());
        painter->restore();
    }
};

// The title row painting every section whole, as QHeaderView does.
class WholeSections : public view::TitleRow {
public:
    using TitleRow::TitleRow;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override
    {
        QHeaderView::paintSection(painter, rect, logicalIndex);
    }
};

QString repeated(const QString& piece, int length)
{
    QString text;
    while (text.size() < length)
        text += piece;
    return text.left(length);
}

} // namespace

class FirstLineTest : public QObject {
    Q_OBJECT

private slots:
    void init() { fake::reset(); }

    void looksAsWithTheWholeStretchLaidOut_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("windowWidth");
        const QString sentence = QStringLiteral("Cliente relata erro ao salvar na emissão de NF-e, código 539. ");
        const struct {
            const char* name;
            QString text;
        } texts[] = {
            {"short", QStringLiteral("Erro ao salvar a nota.")},
            {"long sentence", repeated(sentence, 5000)},
            {"narrow letters", repeated(QStringLiteral("il"), 5000)},
            {"tabs", repeated(QStringLiteral("a\tb\t"), 4000)},
            {"line break inside the guess", QStringLiteral("Erro ao salvar\r\n") + repeated(sentence, 3000)},
            {"line break just past the guess",
             repeated(QStringLiteral("x"), 250) + QStringLiteral("\n") + repeated(sentence, 2000)},
            {"combining accents", repeated(QStringLiteral("e\u0301"), 5000)},
            {"wide letters", repeated(QStringLiteral("漢字"), 3000)},
            {"one long word", repeated(QStringLiteral("W"), 5000)},
            {"surrogate pairs", repeated(QStringLiteral("\U0001F600a"), 4000)},
            {"right to left", repeated(QStringLiteral("مرحبا بالعالم "), 3000)},
            {"right to left after left to right", QStringLiteral("Erro ") + repeated(QStringLiteral("مرحبا "), 3000)},
            {"right to left after the guess", repeated(QStringLiteral("x"), 300) + repeated(QStringLiteral("مرحبا "), 3000)},
            {"digits, then right to left", repeated(QStringLiteral("1234 "), 300) + repeated(QStringLiteral("مرحبا "), 3000)},
            {"embedding", QStringLiteral("Erro \u202B") + repeated(sentence, 3000)},
            {"runs of blanks", repeated(QStringLiteral("erro  ao   salvar \u00A0nota "), 5000)},
            {"wider than the column", repeated(QStringLiteral("WWWW MMMM "), 5000)},
            {"one character past Latin-1 at the end", repeated(sentence, 4990) + QStringLiteral("\u0151")},
        };
        for (const auto& t : texts) {
            for (const int width : {751, 1600})
                QTest::addRow("%s, window %d", t.name, width) << t.text << width;
        }
    }

    void looksAsWithTheWholeStretchLaidOut()
    {
        QFETCH(QString, text);
        QFETCH(int, windowWidth);
        const std::string utf8 = text.toStdString();
        for (int i = 0; i < 20; ++i)
            fake::script().rows.push_back({{utf8, utf8}});
        Windows w;
        w.form().resize(windowWidth, 481);
        w.type(QStringLiteral("x"));
        w.clickMagnifier();
        view::ResultGrid* grid = w.form().DBGrid1;
        QCOMPARE(grid->model()->rowCount(), 20);

        QScrollBar* bar = grid->horizontalScrollBar();
        for (const int percent : {0, 1, 40, 97, 100}) {
            bar->setValue(bar->maximum() * percent / 100);
            const QImage guessed = grid->viewport()->grab().toImage();
            QAbstractItemDelegate* delegate = grid->itemDelegate();
            WholeStretchDelegate whole;
            grid->setItemDelegate(&whole);
            const QImage reference = grid->viewport()->grab().toImage();
            grid->setItemDelegate(delegate);
            QVERIFY2(guessed == reference, qPrintable(QStringLiteral("scrolled %1 %").arg(percent)));
        }
    }

    void titlesLookAsWithWholeSectionsPainted_data()
    {
        QTest::addColumn<int>("windowWidth");
        QTest::addColumn<QString>("mouse");
        for (const int width : {751, 1600}) {
            for (const char* mouse : {"away", "pressed", "dragging"})
                QTest::addRow("window %d, title %s", width, mouse) << width << QString::fromLatin1(mouse);
        }
    }

    // Dragging a title shows a picture of its whole section, which follows
    // the pointer: that picture is compared, not the row.
    void titlesLookAsWithWholeSectionsPainted()
    {
        QFETCH(int, windowWidth);
        QFETCH(QString, mouse);
        for (int i = 0; i < 3; ++i)
            fake::script().rows.push_back({{"Erro ao salvar", "01/02/24 10:00 - Suporte ╗Ana╗ok"}});
        Windows w;
        w.form().resize(windowWidth, 481);
        w.type(QStringLiteral("x"));
        w.clickMagnifier();
        view::ResultGrid* grid = w.form().DBGrid1;

        const int percents[] = {0, 1, 40, 97, 100};
        auto grabAll = [&] {
            QList<QImage> images;
            QScrollBar* bar = grid->horizontalScrollBar();
            for (std::size_t step = 0; step < std::size(percents); ++step) {
                bar->setValue(bar->maximum() * percents[step] / 100);
                QWidget* titles = grid->horizontalHeader()->viewport();
                // On the first title, where it shows; a step apart from the
                // last press, which would make a double click.
                const int left = std::max(0, grid->horizontalHeader()->sectionViewportPosition(0));
                const QPoint at(left + 2 + 20 * static_cast<int>(step), 5);
                if (mouse == QLatin1String("away")) {
                    images.push_back(titles->grab().toImage());
                    continue;
                }
                QTest::mousePress(titles, Qt::LeftButton, {}, at);
                if (mouse == QLatin1String("pressed")) {
                    images.push_back(titles->grab().toImage());
                } else {
                    QTest::mouseMove(titles, at + QPoint(40, 0));
                    const QList<QLabel*> pictures = titles->findChildren<QLabel*>();
                    images.push_back(pictures.isEmpty() ? QImage() : pictures.first()->pixmap().toImage());
                }
                QTest::mouseRelease(titles, Qt::LeftButton, {}, at);
            }
            return images;
        };
        const QList<QImage> ours = grabAll();
        const int range = grid->horizontalScrollBar()->maximum();
        grid->setHorizontalHeader(new WholeSections(grid));
        grid->horizontalHeader()->show();
        grid->applyColumnWidths();
        QCoreApplication::processEvents();
        QCOMPARE(grid->horizontalScrollBar()->maximum(), range);
        const QList<QImage> whole = grabAll();
        for (std::size_t i = 0; i < std::size(percents); ++i) {
            QVERIFY2(!ours[i].isNull(), qPrintable(QStringLiteral("scrolled %1 %: no picture").arg(percents[i])));
            QVERIFY2(ours[i] == whole[i], qPrintable(QStringLiteral("scrolled %1 %").arg(percents[i])));
        }
    }
};

QTEST_MAIN(FirstLineTest)
#include "tst_first_line.moc"
