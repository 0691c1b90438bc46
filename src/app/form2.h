#pragma once

#include <QWidget>

class QAction;
class QMenu;

namespace qiravon {

//! The window that owns the tray icon's menu. It exists only to hold the menu and is never
//! shown; its menu pops up at the pointer instead of serving as a menu bar.
class Form2 : public QWidget
{
    Q_OBJECT
public:
    explicit Form2(QWidget* parent = nullptr);
    ~Form2() override;

    QMenu* pop = nullptr;    //!< "popup": the menu itself
    QAction* free = nullptr; //!< "恢复窗口": show the main window
    QAction* a1 = nullptr;   //!< "-": a separator, which cannot be chosen
    QAction* exit = nullptr; //!< "退出": end the program
};

} // namespace qiravon
