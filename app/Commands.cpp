#include "app/Commands.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QPainter>
#include <QToolBar>
#include <QToolButton>

namespace {

// Tool buttons place their text under the icon's actual height: a wide image
// would lift its label above its neighbours', so it is centred on a square.
QIcon squareIcon(const QString &path)
{
    const QPixmap image(path);
    const int side = qMax(image.width(), image.height());
    if (image.isNull() || image.width() == image.height())
        return QIcon(image);
    QPixmap square(side, side);
    square.fill(Qt::transparent);
    QPainter painter(&square);
    painter.drawPixmap((side - image.width()) / 2, (side - image.height()) / 2, image);
    return QIcon(square);
}

QAction *menuEntry(QMainWindow *window, const QString &text, const QString &tip)
{
    auto *action = new QAction(text, window);
    action->setStatusTip(tip);
    return action;
}

QAction *command(QMainWindow *window, const char *icon, const QString &text, const QString &tip)
{
    QAction *action = menuEntry(window, text, tip);
    action->setIcon(squareIcon(QString::fromLatin1(icon)));
    return action;
}

void setMenu(QMainWindow *window, QAction *action, QAction *first, QAction *second)
{
    auto *menu = new QMenu(window);
    menu->addAction(first);
    menu->addAction(second);
    action->setMenu(menu);
}

} // namespace

Commands::Commands(QMainWindow *window)
    : openData(command(window, ":/res/open.png", tr("&Data File"), tr("Open input Data file")))
    , openStandards(command(window, ":/res/config.png", tr("&STD-QC File"), tr("Open STD-QC file")))
    , openSampleSheet(command(window, ":/res/open.png", tr("Sample Sheet"),
          tr("Choose the sample sheet: dilutions, masses and volumes of the samples")))
    , sampleTemplate(menuEntry(window, tr("Save Sample Sheet Template..."),
          tr("Save a sample sheet listing the samples and QC solutions of the data "
             "file")))
    , noSampleSheet(menuEntry(
          window, tr("No Sample Sheet"), tr("Report every value as measured, with factor 1")))
    , method(command(window, ":/res/config.png", tr("Method"),
          tr("Open or save every processing option as a method file")))
    , openMethod(menuEntry(
          window, tr("Open Method..."), tr("Set the processing options from a method file")))
    , saveMethod(menuEntry(
          window, tr("Save Method..."), tr("Save the processing options as a method file")))
    , savePlot(command(window, ":/res/plot.png", tr("&Save Plot"), tr("Save the plotted Graph")))
    , saveOutput(command(window, ":/res/save.png", tr("&Save Output"), tr("Save Output Data")))
    , saveReport(command(window, ":/res/save.png", tr("Save Report..."),
          tr("Save the run's report as a PDF file to sign")))
    , saveWorkbook(command(window, ":/res/workbook.png", tr("Save Workbook..."),
          tr("Save the run's results as a workbook for spreadsheet programs (.xlsx)")))
    , about(command(
          window, ":/res/ketrion.png", tr("&About"), tr("Show the application's About box")))
    , aboutQt(
          command(window, ":/res/qt.png", tr("About &Qt"), tr("Show the Qt library's About box")))
    , quit(command(window, ":/res/close.png", tr("&Quit"), tr("Quit the application")))
    , run(command(window, ":/res/run.png", tr("&Process"), tr("Run the processing")))
{
    for (QAction *later : { sampleTemplate, savePlot, saveOutput, saveReport, saveWorkbook, run })
        later->setEnabled(false);
    setMenu(window, openSampleSheet, sampleTemplate, noSampleSheet);
    setMenu(window, method, openMethod, saveMethod);
}

void Commands::fill(QToolBar *bar) const
{
    bar->addAction(openData);
    bar->addAction(openStandards);
    bar->addAction(openSampleSheet);
    // The menu holds the template and the way back to no sheet.
    if (auto *button = qobject_cast<QToolButton *>(bar->widgetForAction(openSampleSheet)))
        button->setPopupMode(QToolButton::MenuButtonPopup);
    bar->addAction(method);
    // Its menu alone: a method is opened or saved, never both.
    if (auto *button = qobject_cast<QToolButton *>(bar->widgetForAction(method)))
        button->setPopupMode(QToolButton::InstantPopup);
    bar->addSeparator();
    bar->addAction(savePlot);
    bar->addAction(saveOutput);
    bar->addAction(saveReport);
    bar->addAction(saveWorkbook);
    bar->addSeparator();
    bar->addAction(about);
    bar->addAction(aboutQt);
    bar->addSeparator();
    bar->addAction(quit);
    bar->addSeparator();
    // Pushes "&Process" to the right edge whatever the window width.
    auto *spacer = new QWidget(bar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    bar->addWidget(spacer);
    bar->addSeparator();
    bar->addAction(run);
}

void Commands::showSampleSheet(const QString &sheet) const
{
    openSampleSheet->setToolTip(
        sheet.isEmpty() ? tr("No sample sheet: factor 1") : tr("Sample sheet: %1").arg(sheet));
    noSampleSheet->setEnabled(!sheet.isEmpty());
}
