#include "view/result_grid.h"

#include "view/result_model.h"

#include <QHash>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QTextLayout>

#include <limits>
#include <memory>
#include <optional>

namespace view {

namespace {

constexpr int RowHeight = ui::GridRowHeight;
constexpr int IndicatorWidth = ui::GridIndicatorWidth;
constexpr int CellPadding = ui::GridCellPadding;
// Below this, laying out the hidden start of a line costs less than
// measuring its words.
constexpr int HiddenForWordWidths = 2048;

// The text starts left to right and has nothing that runs or embeds right
// to left, so its layout's direction and order do not depend on what follows.
bool isPlainLeftToRight(const char16_t* text, std::size_t length)
{
    bool strong = false;
    for (std::size_t i = 0; i < length; ++i) {
        char32_t c = text[i];
        if (QChar::isHighSurrogate(c) && i + 1 < length && QChar::isLowSurrogate(text[i + 1]))
            c = QChar::surrogateToUcs4(static_cast<char16_t>(c), text[++i]);
        switch (QChar::direction(c)) {
        case QChar::DirL: strong = true; break;
        case QChar::DirR:
        case QChar::DirAL:
        case QChar::DirAN:
        case QChar::DirLRE:
        case QChar::DirLRO:
        case QChar::DirRLE:
        case QChar::DirRLO:
        case QChar::DirPDF:
        case QChar::DirLRI:
        case QChar::DirRLI:
        case QChar::DirFSI:
        case QChar::DirPDI: return false;
        default: break;
        }
    }
    return strong;
}

// Latin-1 letters, digits, punctuation and blanks, without tabs, controls
// or the soft hyphen: characters that one font draws left to right, each
// with an advance of its own.
bool isSimpleLatin(char16_t c)
{
    return (c >= 0x20 && c < 0x7F) || (c >= 0xA0 && c <= 0xFF && c != 0xAD);
}

} // namespace

// Widths of words in one font, for finding where a long line reaches the
// visible part without laying out all that comes before it. Exact only when
// the font shapes a word the same whatever stands on the other side of a
// space; checked once per font on every simple Latin character.
class WordWidths {
public:
    explicit WordWidths(const QFont& font)
        : font_(font), metrics_(font), space_(metrics_.horizontalAdvance(QLatin1Char(' ')))
    {
        spaceIsContextFree_ = metrics_.horizontalAdvance(QStringLiteral("  ")) == 2 * space_;
        for (char16_t c = 0x21; c <= 0xFF && spaceIsContextFree_; ++c) {
            if (!isSimpleLatin(c))
                continue;
            const QString letter(QChar{c});
            const qreal alone = metrics_.horizontalAdvance(letter);
            spaceIsContextFree_ = metrics_.horizontalAdvance(letter + QLatin1Char(' ')) == alone + space_
                                  && metrics_.horizontalAdvance(QLatin1Char(' ') + letter) == space_ + alone;
        }
    }

    const QFont& font() const { return font_; }
    bool usable() const { return spaceIsContextFree_; }
    qreal space() const { return space_; }

    qreal word(const char16_t* text, std::size_t length)
    {
        const QString key =
            QString::fromRawData(reinterpret_cast<const QChar*>(text), static_cast<qsizetype>(length));
        if (const auto found = widths_.constFind(key); found != widths_.cend())
            return *found;
        if (widths_.size() > 100000)
            widths_.clear();
        const qreal width = metrics_.horizontalAdvance(key);
        widths_.insert(QString(key.constData(), key.size()), width);
        return width;
    }

private:
    QFont font_;
    QFontMetricsF metrics_;
    qreal space_;
    bool spaceIsContextFree_ = false;
    QHash<QString, qreal> widths_;
};

namespace {

// A place in a line of text: a character and its distance from the start.
struct LineStart {
    std::size_t at = 0;
    qreal x = 0;
};

// Where the first line of a long plain text can start being laid out when
// nothing before `hidden` pixels shows: the start of the last word that
// begins there or before. Nothing when the text is not plain Latin-1, when
// the font's widths cannot be summed, or when the line may break before
// `length`, where only the whole layout knows the break.
std::optional<LineStart> lineStartFor(const char16_t* text, std::size_t length, qreal hidden, qreal lineWidth,
                                      WordWidths& widths)
{
    for (std::size_t i = 0; i < length; ++i) {
        if (!isSimpleLatin(text[i]))
            return std::nullopt;
    }
    if (!widths.usable())
        return std::nullopt;
    LineStart start;
    qreal x = 0;
    std::size_t i = 0;
    while (i < length) {
        if (text[i] == u' ') {
            x += widths.space();
            ++i;
            continue;
        }
        if (x <= hidden)
            start = {i, x};
        std::size_t end = i;
        while (end < length && text[end] != u' ')
            ++end;
        x += widths.word(text + i, end - i);
        i = end;
    }
    if (x > lineWidth)
        return std::nullopt;
    return start;
}

} // namespace

RowIndicator::RowIndicator(QWidget* parent) : QHeaderView(Qt::Vertical, parent)
{
    setSectionResizeMode(QHeaderView::Fixed);
    setDefaultSectionSize(RowHeight);
    setMinimumSectionSize(RowHeight);
    setSectionsClickable(false);
    setHighlightSections(false);
}

QSize RowIndicator::sizeHint() const
{
    return {IndicatorWidth, QHeaderView::sizeHint().height()};
}

void RowIndicator::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    painter->save();
    painter->fillRect(rect, palette().button());
    painter->setPen(palette().mid().color());
    painter->drawLine(rect.topRight(), rect.bottomRight());
    painter->drawLine(rect.bottomLeft(), rect.bottomRight());
    const auto* grid = qobject_cast<const QTableView*>(parentWidget());
    if (grid && grid->currentIndex().isValid() && grid->currentIndex().row() == logicalIndex) {
        // A small solid triangle pointing at the current row.
        const int cx = rect.left() + rect.width() / 2 - 1;
        const int cy = rect.top() + rect.height() / 2;
        const QPoint triangle[] = {{cx - 2, cy - 4}, {cx + 2, cy}, {cx - 2, cy + 4}};
        painter->setRenderHint(QPainter::Antialiasing, false);
        painter->setPen(Qt::NoPen);
        painter->setBrush(palette().windowText());
        painter->drawPolygon(triangle, 3);
    }
    painter->restore();
}

TitleRow::TitleRow(QWidget* parent) : QHeaderView(Qt::Horizontal, parent)
{
    setSectionsMovable(true);
    setSectionResizeMode(QHeaderView::Interactive);
    setSectionsClickable(true); // pressed look and hover; no sorting
    setSortIndicatorShown(false);
    setHighlightSections(false);
    setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setStretchLastSection(false);
    setMaximumSectionSize(std::numeric_limits<int>::max() / 4);
}

void TitleRow::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    // Past either edge by a few pixels, so the section's own borders there
    // stay out of sight. Whole when painted elsewhere than in the row, as
    // for the picture that follows a title being dragged.
    constexpr int Overhang = 8;
    const QRect reach = viewport()->rect().adjusted(-Overhang, 0, Overhang, 0);
    if (!rect.isValid() || painter->device() != viewport() || reach.contains(rect)) {
        QHeaderView::paintSection(painter, rect, logicalIndex);
        return;
    }

    // What QHeaderView and the common style do for a section, with the
    // background narrowed.
    QStyleOptionHeaderV2 opt;
    initStyleOption(&opt);
    const QBrush button = opt.palette.brush(QPalette::Button);
    const QBrush window = opt.palette.brush(QPalette::Window);
    initStyleOptionForIndex(&opt, logicalIndex);
    opt.rect = rect;
    const QPointF brushOrigin = painter->brushOrigin();
    if (button != opt.palette.brush(QPalette::Button) || window != opt.palette.brush(QPalette::Window))
        painter->setBrushOrigin(opt.rect.topLeft());

    const QRegion clip = painter->clipRegion();
    const bool clipping = painter->hasClipping();
    painter->setClipRect(rect);
    QStyleOptionHeaderV2 background = opt;
    background.rect = rect.intersected(reach);
    style()->drawControl(QStyle::CE_HeaderSection, &background, painter, this);
    QStyleOptionHeaderV2 title = opt;
    title.rect = style()->subElementRect(QStyle::SE_HeaderLabel, &opt, this);
    if (title.rect.isValid())
        style()->drawControl(QStyle::CE_HeaderLabel, &title, painter, this);
    if (opt.sortIndicator != QStyleOptionHeader::None) {
        title.rect = style()->subElementRect(QStyle::SE_HeaderArrow, &opt, this);
        style()->drawPrimitive(QStyle::PE_IndicatorHeaderArrow, &title, painter, this);
    }
    painter->setClipRegion(clip);
    painter->setClipping(clipping);
    painter->setBrushOrigin(brushOrigin);
}

FirstLineDelegate::FirstLineDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

FirstLineDelegate::~FirstLineDelegate() = default;

WordWidths& FirstLineDelegate::wordWidthsFor(const QFont& font) const
{
    if (!wordWidths_ || wordWidths_->font() != font)
        wordWidths_ = std::make_unique<WordWidths>(font);
    return *wordWidths_;
}

void FirstLineDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, QModelIndex()); // background and selection only: the text is ours
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : nullptr;
    if (style)
        style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, painter, widget);

    const auto* model = qobject_cast<const ResultModel*>(index.model());
    if (!model)
        return;
    const quelvo::FieldValue value = model->field(index.row(), index.column());
    if (value.isNull || value.size == 0)
        return;

    const QRect textRect = option.rect.adjusted(CellPadding, CellPadding, -CellPadding, 0);
    // Only the first line shows: stop at the first line break, and lay out no
    // more than can reach the visible part of the cell (every glyph is at
    // least a pixel wide; the slack lets the last word find its break).
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
    const QFontMetricsF metrics(option.font);
    textOption.setTabStopDistance(8 * metrics.averageCharWidth());
    QTextLayout layout(QString(), option.font);
    layout.setTextOption(textOption);
    QTextLine line;
    QPointF origin = textRect.topLeft();
    const auto layOut = [&](std::size_t from, std::size_t to, qreal width) {
        layout.setText(QString::fromRawData(reinterpret_cast<const QChar*>(value.data + from),
                                            static_cast<qsizetype>(to - from)));
        layout.beginLayout();
        line = layout.createLine();
        if (line.isValid())
            line.setLineWidth(width);
        layout.endLayout();
    };
    const int hidden = -textRect.left();
    std::optional<LineStart> start;
    if (hidden > HiddenForWordWidths)
        start = lineStartFor(value.data, length, hidden - 64 - metrics.maxWidth(), textRect.width(),
                             wordWidthsFor(option.font));
    const std::size_t guess = static_cast<std::size_t>(visibleWidth) / 4 + 64;
    if (start) {
        // Scrolled far into a long line: laid out from a word shortly before
        // the visible part, placed where the whole line puts it.
        layOut(start->at, length, textRect.width() - start->x);
        origin.rx() += start->x;
    } else if (guess < length && isPlainLeftToRight(value.data, guess)) {
        // Text runs at several pixels a character: a quarter of that text is
        // laid out first, and kept when it fits the line and already reaches
        // past the visible part by more than a glyph, so that what follows it
        // cannot change a visible pixel. Not for text that may run right to
        // left: there the visual order depends on where the text ends.
        layOut(0, guess, textRect.width());
        const qreal reach = visibleWidth + 64 + metrics.maxWidth();
        if (!line.isValid() || line.textLength() != static_cast<int>(guess) || line.naturalTextWidth() < reach)
            layOut(0, length, textRect.width());
    } else {
        layOut(0, length, textRect.width());
    }

    painter->save();
    painter->setClipRect(textRect.intersected(option.rect));
    painter->setPen(option.state & QStyle::State_Selected ? option.palette.highlightedText().color()
                                                          : option.palette.text().color());
    if (line.isValid())
        line.draw(painter, origin);
    painter->restore();
}

QSize FirstLineDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    return {0, QFontMetrics(option.font).height() + 2 * CellPadding};
}

ResultGrid::ResultGrid(QWidget* parent) : QTableView(parent)
{
    setHorizontalHeader(new TitleRow(this));
    setVerticalHeader(new RowIndicator(this));
    setItemDelegate(new FirstLineDelegate(this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setShowGrid(true);
    setSortingEnabled(false);
    setWordWrap(false);
    setTabKeyNavigation(true);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
}

void ResultGrid::setResultModel(ResultModel* model)
{
    model_ = model;
    setModel(model);
    applyColumnWidths();
    connect(model, &QAbstractItemModel::modelReset, this, [this] {
        if (model_->rowCount() > 0)
            setCurrentIndex(model_->index(0, 0));
    });
}

void ResultGrid::applyColumnWidths()
{
    const QFontMetrics metrics(font());
    const int titleWidth = metrics.horizontalAdvance(QString::fromUtf16(ui::GridColumnTitles[0]));
    setColumnWidth(0, ui::problemColumnWidth(metrics.horizontalAdvance(QLatin1Char('0')), titleWidth));
    setColumnWidth(1, ui::SolutionColumnWidth);
}

namespace {

ui::MouseButton buttonOf(const QMouseEvent* event)
{
    switch (event->button()) {
    case Qt::LeftButton: return ui::MouseButton::Left;
    case Qt::RightButton: return ui::MouseButton::Right;
    default: return ui::MouseButton::Middle;
    }
}

} // namespace

ui::GridArea ResultGrid::areaAt(QPoint viewportPos) const
{
    // Titles and the indicator column are header views of their own; the
    // viewport holds the cells and the empty area around them.
    if (!viewport()->rect().contains(viewportPos))
        return ui::GridArea::Outside;
    return indexAt(viewportPos).isValid() ? ui::GridArea::DataCell : ui::GridArea::BelowRows;
}

void ResultGrid::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    const bool makesCurrent = clickRule_.press(buttonOf(event), areaAt(pos));
    if (event->button() == Qt::LeftButton) {
        QTableView::mousePressEvent(event);
        return;
    }
    // Other buttons only make the pressed row current.
    if (makesCurrent)
        setCurrentIndex(indexAt(pos));
    event->accept();
}

void ResultGrid::mouseReleaseEvent(QMouseEvent* event)
{
    const bool raisesClick = clickRule_.release(buttonOf(event), areaAt(event->position().toPoint()));
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    QTableView::mouseReleaseEvent(event);
    if (raisesClick)
        emit cellClicked(currentIndex().column());
}

void ResultGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    if (model_ && current.isValid())
        model_->rows().setCurrentRow(current.row());
    verticalHeader()->viewport()->update();
}

} // namespace view
