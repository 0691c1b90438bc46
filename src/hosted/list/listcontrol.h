#pragma once

#include "hosted/icustomdraw.h"

#include <QWidget>
#include <memory>

class QTableView;

namespace qiravon {

class ListControlModel;
class ReportView;

//! A report list of text columns with a single-row selection and a custom-draw callback.
//! Rows and columns count from 0. Everything runs on the UI thread.
//!
//! The selection is the view's own, so what the program marks, what the keyboard moves and
//! what assistive technologies report as selected are one and the same row.
//!
//! Cell writes notify only the cell written, and appended rows reach the view in batches,
//! so filling 100,000 rows never resets the model or repaints everything per row.
class ListControl : public QWidget
{
    Q_OBJECT
public:
    explicit ListControl(QWidget* parent = nullptr);
    ~ListControl() override;

    //! Appends a column on the right. `optionCode` and the flags are kept for the caller;
    //! a column with both flags off cannot be resized by the user.
    void AddColumn(const QString& key, const QString& caption, int optionCode, int width,
                   bool flag1, bool flag2);
    //! Appends an empty row and returns its index (0 in an empty list).
    int AddItem();
    //! Removes every row; columns stay.
    void Clear();
    [[nodiscard]] int ItemCount() const;
    [[nodiscard]] int ColumnCount() const;

    //! Cell text; an index out of range gives an empty text and sets *ok to false.
    [[nodiscard]] QString ItemText(int row, int column, bool* ok = nullptr) const;
    //! Returns false, changing nothing, for an index out of range.
    bool SetItemText(int row, int column, const QString& text);
    //! 1 when the row is selected, else 0; out of range gives 0 and sets *ok to false.
    [[nodiscard]] int ItemSelected(int row, bool* ok = nullptr) const;
    //! Selects the row for any non-zero value, unselecting any other and making it the
    //! current row; unselects it for 0. Returns false for an index out of range. Raises no
    //! SelectionChange: that is for the user's changes.
    bool SetItemSelected(int row, int value);
    //! The selected row, or -1.
    [[nodiscard]] int SelectedItem() const;
    //! The row under the mouse pointer.
    [[nodiscard]] bool ItemHighlighted(int row) const;

    void SetBaseColor(BgrColor color);
    void SetAccentColor(BgrColor color);
    //! The handler is not owned; it must outlive the list or be reset first.
    void SetCustomDrawHandler(ICustomDraw* handler);
    void SetCustomDrawEnabled(bool enabled);
    //! The column in which typing a text's first characters finds a row; -1 (the default)
    //! searches the column of the current cell.
    void SetSearchColumn(int column);
    [[nodiscard]] int SearchColumn() const;

    //! The stored design-time settings.
    void SetBorderStyle(int style);
    [[nodiscard]] int BorderStyle() const;
    void SetPictureSize(int width, int height);
    [[nodiscard]] QSize PictureSize() const;

    [[nodiscard]] QTableView* view() const;

Q_SIGNALS:
    //! Raised after the user changed the selection: with the mouse, the keyboard (arrows,
    //! Page Up and Down, Home, End, typing a name) or an assistive technology.
    void SelectionChange();
    //! Raised when the user double-clicks a row, or presses Return or Enter on the current one.
    void ItemDblClick(int row);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    struct Private;
    void cellColours(int row, int column, BgrColor& back, BgrColor& fore);
    void setHoverRow(int row);

    ListControlModel* m_model = nullptr;
    ReportView* m_view = nullptr;
    std::unique_ptr<Private> d;
};

} // namespace qiravon
