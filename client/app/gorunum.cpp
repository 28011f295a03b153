#include "app/gorunum.hpp"

#include <QApplication>
#include <QDialog>
#include <QFont>
#include <QPalette>
#include <QStyleFactory>

namespace durnak::client {

void FiordFlatUygula(QApplication& uygulama)
{
    uygulama.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

    QPalette renkler;
    const QColor zemin(0x35, 0x45, 0x5e);
    const QColor dugme(0x44, 0x56, 0x7a);
    const QColor acik(0xf5, 0xf7, 0xfb);
    const QColor koyuYazi(0x1b, 0x24, 0x33);
    renkler.setColor(QPalette::Window, zemin);
    renkler.setColor(QPalette::WindowText, Qt::white);
    renkler.setColor(QPalette::Base, acik);
    renkler.setColor(QPalette::AlternateBase, QColor(0xe3, 0xe9, 0xf2));
    renkler.setColor(QPalette::Text, koyuYazi);
    renkler.setColor(QPalette::PlaceholderText, QColor(0x7a, 0x86, 0x99));
    renkler.setColor(QPalette::Button, dugme);
    renkler.setColor(QPalette::ButtonText, Qt::white);
    renkler.setColor(QPalette::Highlight, QColor(0x2f, 0x6f, 0xc4));
    renkler.setColor(QPalette::HighlightedText, Qt::white);
    renkler.setColor(QPalette::ToolTipBase, QColor(0xff, 0xf8, 0xe1));
    renkler.setColor(QPalette::ToolTipText, koyuYazi);
    renkler.setColor(QPalette::Light, dugme.lighter(130));
    renkler.setColor(QPalette::Midlight, dugme.lighter(115));
    renkler.setColor(QPalette::Mid, zemin.darker(120));
    renkler.setColor(QPalette::Dark, zemin.darker(150));
    renkler.setColor(QPalette::Shadow, QColor(0x12, 0x1a, 0x26));
    renkler.setColor(QPalette::Link, QColor(240, 123, 12));
    renkler.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x9a, 0xa5, 0xb5));
    renkler.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x9a, 0xa5, 0xb5));
    renkler.setColor(QPalette::Disabled, QPalette::Text, QColor(0x8a, 0x93, 0xa0));
    uygulama.setPalette(renkler);

    QFont yazi(QStringLiteral("DejaVu Sans"));
    yazi.setPixelSize(13);
    uygulama.setFont(yazi);

    uygulama.setStyleSheet(QStringLiteral(R"(
QPushButton, QToolButton {
    background: #44567a; color: white; border: 1px solid #2a3850; border-radius: 2px; padding: 4px 10px;
}
QToolButton { padding: 1px; }
QPushButton:hover, QToolButton:hover { background: #52678f; }
QPushButton:pressed, QToolButton:pressed { background: #2f3f5c; }
QPushButton:disabled, QToolButton:disabled { background: #3c4b64; color: #8a96a8; }
QPushButton:default, QPushButton:focus { border: 1px solid #f07b0c; }
QToolButton::menu-button { border-left: 1px solid #2a3850; width: 18px; }
QLineEdit, QTextEdit, QPlainTextEdit, QComboBox, QSpinBox {
    background: #f5f7fb; color: #1b2433; border: 1px solid #2a3850; border-radius: 2px; padding: 1px 4px;
}
QLineEdit:focus { border: 1px solid #f07b0c; }
QTabWidget::pane { border: 1px solid #2a3850; background: #3b4c67; }
QTabBar { color: white; }
QTabBar::tab { background: #3f5070; border: 1px solid #2a3850; margin-right: 1px; }
QTabBar::tab:selected { background: #55698f; border-bottom: 3px solid #f07b0c; }
QTabBar::tab:hover:!selected { background: #4a5d80; }
QMenu { background: #35455e; color: white; border: 1px solid #2a3850; }
QMenu::item { padding: 6px 24px 6px 16px; }
QMenu::item:selected { background: #f07b0c; }
QMenu::separator { height: 1px; background: #52678f; margin: 3px 6px; }
QHeaderView::section { background: #44567a; color: white; border: 0; border-right: 1px solid #2a3850; padding: 3px; }
QTableView { gridline-color: #c9d2df; selection-background-color: #2f6fc4; }
QGroupBox { border: 1px solid #52678f; margin-top: 14px; }
QGroupBox::title { subcontrol-origin: margin; left: 6px; color: white; }
QToolTip { background: #fff8e1; color: #1b2433; border: 1px solid #b0a070; }
)"));
}

void AcikZeminUygula(QDialog& pencere)
{
    pencere.setStyleSheet(QStringLiteral("QDialog { background: #eef1f6; } QLabel { color: %1; }")
                              .arg(QLatin1String(kKoyuYazi)) +
                          pencere.styleSheet());
}

} // namespace durnak::client
