#include "hosted/list/listcontrol.h"

#include "hosted/list/listcontrolmodel.h"

#include <QEvent>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

namespace qiravon {

namespace {

constexpr BgrColor kBlack = 0;
constexpr int kCellPadding = 3;

//! Paints each cell in the colours the list's custom-draw handler gives it, or in the
//! list's own colours without one.
class CellDelegate final : public QStyledItemDelegate
{
public:
    using Colours = std::function<void(int row, int column, BgrColor& back, BgrColor& fore)>;

    CellDelegate(Colours colours, QObject* parent)
        : QStyledItemDelegate(parent), m_colours(std::move(colours))
    {
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        BgrColor back = 0;
        BgrColor fore = kBlack;
        // The handler may rewrite this very cell, so the text is read after it ran.
        m_colours(index.row(), index.column(), back, fore);
        painter->fillRect(option.rect, toQColor(back));
        const QString text = index.data(Qt::DisplayRole).toString();
        if (text.isEmpty())
            return;
        const QRect textRect = option.rect.adjusted(kCellPadding, 0, -kCellPadding, 0);
        painter->setPen(toQColor(fore));
        painter->setFont(option.font);
        painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                          option.fontMetrics.elidedText(text, Qt::ElideRight, textRect.width()));
    }

private:
    Colours m_colours;
};

} // namespace

struct ListControl::Private
{
    BgrColor baseColor = bgr(255, 255, 255);
    BgrColor accentColor = bgr(0, 120, 215);
    ICustomDraw* handler = nullptr;
    bool customDrawEnabled = false;
    int hoverRow = -1;
    int borderStyle = 1;
    QSize pictureSize{16, 16};
    QList<bool> fixedColumns;
};

ListControl::ListControl(QWidget* parent)
    : QWidget(parent), m_model(new ListControlModel(this)), m_view(new QTableView(this)),
      d(std::make_unique<Private>())
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);

    m_view->setModel(m_model);
    m_view->setObjectName(QStringLiteral("view"));
    m_view->setItemDelegate(
        new CellDelegate([this](int row, int column, BgrColor& back,
                                BgrColor& fore) { cellColours(row, column, back, fore); },
                         m_view));
    m_view->setSelectionMode(QAbstractItemView::NoSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setShowGrid(false);
    m_view->setWordWrap(false);
    m_view->setMouseTracking(true);
    m_view->setFocusPolicy(Qt::StrongFocus);
    m_view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_view->verticalHeader()->hide();
    // Fixed, uniform rows keep scrolling and painting independent of the row count.
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->verticalHeader()->setDefaultSectionSize(18);
    m_view->horizontalHeader()->setHighlightSections(false);
    m_view->horizontalHeader()->setSectionsClickable(false);
    m_view->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_view->viewport()->installEventFilter(this);

    connect(m_view, &QAbstractItemView::pressed, this, [this](const QModelIndex& index) {
        selectOnly(index.row());
        Q_EMIT SelectionChange();
    });
    connect(m_view, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& index) { Q_EMIT ItemDblClick(index.row()); });
}

ListControl::~ListControl() = default;

void ListControl::AddColumn(const QString& /*key*/, const QString& caption, int /*optionCode*/,
                            int width, bool flag1, bool flag2)
{
    m_model->addColumn(caption);
    const int column = m_model->columns() - 1;
    QHeaderView* header = m_view->horizontalHeader();
    // The style's minimum section width (about 26 px) would silently widen narrow columns,
    // such as the 10 px one that only carries the stream address.
    if (width < header->minimumSectionSize())
        header->setMinimumSectionSize(std::max(width, 0));
    header->resizeSection(column, width);
    // A column with both flags off holds data the user need not see; keep it from being
    // dragged wider.
    header->setSectionResizeMode(column,
                                 flag1 || flag2 ? QHeaderView::Interactive : QHeaderView::Fixed);
}

int ListControl::AddItem()
{
    return m_model->appendRow();
}

void ListControl::Clear()
{
    d->hoverRow = -1;
    m_model->clear();
}

int ListControl::ItemCount() const
{
    return m_model->size();
}

int ListControl::ColumnCount() const
{
    return m_model->columns();
}

QString ListControl::ItemText(int row, int column, bool* ok) const
{
    const bool inRange = m_model->contains(row, column);
    if (ok)
        *ok = inRange;
    return inRange ? m_model->cell(row, column) : QString();
}

bool ListControl::SetItemText(int row, int column, const QString& text)
{
    if (!m_model->contains(row, column))
        return false;
    m_model->setCell(row, column, text);
    return true;
}

int ListControl::ItemSelected(int row, bool* ok) const
{
    const bool inRange = row >= 0 && row < m_model->size();
    if (ok)
        *ok = inRange;
    return inRange ? m_model->selected(row) : 0;
}

bool ListControl::SetItemSelected(int row, int value)
{
    if (row < 0 || row >= m_model->size())
        return false;
    // Callers may hand over any true value (-1 included); the flag reads back as 1 or 0.
    m_model->setSelected(row, value != 0 ? 1 : 0);
    return true;
}

bool ListControl::ItemHighlighted(int row) const
{
    return row >= 0 && row == d->hoverRow;
}

void ListControl::SetBaseColor(BgrColor color)
{
    d->baseColor = color;
    m_view->viewport()->update();
}

void ListControl::SetAccentColor(BgrColor color)
{
    d->accentColor = color;
    m_view->viewport()->update();
}

void ListControl::SetCustomDrawHandler(ICustomDraw* handler)
{
    d->handler = handler;
    m_view->viewport()->update();
}

void ListControl::SetCustomDrawEnabled(bool enabled)
{
    d->customDrawEnabled = enabled;
    m_view->viewport()->update();
}

void ListControl::SetBorderStyle(int style)
{
    d->borderStyle = style;
    m_view->setFrameShape(style == 0 ? QFrame::NoFrame : QFrame::StyledPanel);
}

int ListControl::BorderStyle() const
{
    return d->borderStyle;
}

void ListControl::SetPictureSize(int width, int height)
{
    d->pictureSize = QSize(width, height);
    m_view->setIconSize(d->pictureSize);
}

QSize ListControl::PictureSize() const
{
    return d->pictureSize;
}

void ListControl::cellColours(int row, int column, BgrColor& back, BgrColor& fore)
{
    const bool selected = m_model->contains(row, column) && m_model->selected(row) == 1;
    back = selected ? d->accentColor : d->baseColor;
    fore = 0;
    if (!d->customDrawEnabled || !d->handler)
        return;
    BgrColor handlerBack = back;
    BgrColor handlerFore = fore;
    if (d->handler->CustomDraw(row, column, handlerBack, handlerFore)) {
        back = handlerBack;
        fore = handlerFore;
    }
}

void ListControl::selectOnly(int row)
{
    const int count = m_model->size();
    for (int i = 0; i < count; ++i) {
        if (i != row && m_model->selected(i) != 0)
            m_model->setSelected(i, 0);
    }
    if (row >= 0 && row < count)
        m_model->setSelected(row, 1);
}

void ListControl::setHoverRow(int row)
{
    if (row == d->hoverRow)
        return;
    const int old = d->hoverRow;
    d->hoverRow = row;
    m_model->touchRow(old);
    m_model->touchRow(row);
}

bool ListControl::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_view->viewport()) {
        if (event->type() == QEvent::MouseMove) {
            const auto* move = static_cast<QMouseEvent*>(event);
            setHoverRow(m_view->indexAt(move->position().toPoint()).row());
        } else if (event->type() == QEvent::Leave) {
            setHoverRow(-1);
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace qiravon
