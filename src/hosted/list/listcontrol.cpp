#include "hosted/list/listcontrol.h"

#include "hosted/list/listcontrolmodel.h"
#include "hosted/list/reportview.h"

#include <QEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QStyledItemDelegate>
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
    //! The program is changing the selection; the user is not.
    bool settingSelection = false;
    int borderStyle = 1;
    QSize pictureSize{16, 16};
    QList<bool> fixedColumns;
    bool headerAwaitsFirstShow = true;
};

ListControl::ListControl(QWidget* parent)
    : QWidget(parent), m_model(new ListControlModel(this)), m_view(new ReportView(m_model, this)),
      d(std::make_unique<Private>())
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    setFocusProxy(m_view);

    m_view->setObjectName(QStringLiteral("view"));
    m_view->setItemDelegate(
        new CellDelegate([this](int row, int column, BgrColor& back,
                                BgrColor& fore) { cellColours(row, column, back, fore); },
                         m_view));
    // The cells paint the selection in the custom-draw colours, never the style's.
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    // Tab leaves the list for the window's next control instead of walking its cells.
    m_view->setTabKeyNavigation(false);
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
    // The header sizes itself from its captions each time a column comes; a list that is
    // filled before it is shown, or never shown, should not shape every caption once per
    // column added. It is shown with the list, and sized then, once.
    m_view->horizontalHeader()->hide();

    connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!d->settingSelection)
            Q_EMIT SelectionChange();
    });
    connect(m_view, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& index) { Q_EMIT ItemDblClick(index.row()); });
    connect(m_view, &ReportView::rowActivated, this, &ListControl::ItemDblClick);
}

ListControl::~ListControl() = default;

void ListControl::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (d->headerAwaitsFirstShow) {
        d->headerAwaitsFirstShow = false;
        m_view->horizontalHeader()->show();
    }
}

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
    const QScopedValueRollback programmatic(d->settingSelection, true);
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
    // Rows the view has not been told of yet cannot be selected (SetItemSelected tells it).
    if (!inRange || row >= m_model->rowCount())
        return 0;
    // Rows are selected whole, so the first cell speaks for the row; this stays cheap enough
    // for the painter, which asks for every cell it paints.
    return m_view->selectionModel()->isSelected(m_model->index(row, 0)) ? 1 : 0;
}

bool ListControl::SetItemSelected(int row, int value)
{
    if (row < 0 || row >= m_model->size())
        return false;
    // A row filled in this same event-loop pass is still waiting to be announced.
    if (row >= m_model->rowCount())
        m_model->announceRows();
    const QScopedValueRollback programmatic(d->settingSelection, true);
    QItemSelectionModel* selection = m_view->selectionModel();
    const QModelIndex current = m_view->currentIndex();
    const QModelIndex index = m_model->index(row, current.isValid() ? current.column() : 0);
    // Callers may hand over any true value (-1 included); the row reads back as 1 or 0.
    if (value != 0) {
        // The mark and the keyboard's place go together, so arrows move on from the row
        // the program marked.
        selection->setCurrentIndex(index,
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    } else if (selection->isSelected(index)) {
        selection->select(index, QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    }
    return true;
}

int ListControl::SelectedItem() const
{
    const QModelIndexList rows = m_view->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.constFirst().row();
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

void ListControl::SetSearchColumn(int column)
{
    m_view->setSearchColumn(column);
}

int ListControl::SearchColumn() const
{
    return m_view->searchColumn();
}

QTableView* ListControl::view() const
{
    return m_view;
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
    const bool selected = column >= 0 && column < m_model->columns() && ItemSelected(row) == 1;
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
