#ifndef KETRION_COMMANDS_H
#define KETRION_COMMANDS_H

#include <QCoreApplication>

class QAction;
class QString;
class QMainWindow;
class QToolBar;

// The window's commands: their actions with icon and status tip, the menus
// two of them open, and their order on the tool bar. What each does is the
// window's business.
class Commands
{
    Q_DECLARE_TR_FUNCTIONS(Commands)

public:
    // The actions and menus belong to the window; nothing can be saved or
    // processed before a file is read.
    explicit Commands(QMainWindow *window);
    // "&Process" alone at the right edge of the bar, whatever its width.
    void fill(QToolBar *bar) const;
    // The sample sheet chosen, empty for none, on the command that chooses it.
    void showSampleSheet(const QString &sheet) const;

    QAction *openData;
    QAction *openStandards;
    QAction *openSampleSheet; // its menu: the two below
    QAction *sampleTemplate;
    QAction *noSampleSheet;
    QAction *method; // its menu: open and save
    QAction *openMethod;
    QAction *saveMethod;
    QAction *savePlot;
    QAction *saveOutput;
    QAction *saveReport;
    QAction *saveWorkbook;
    QAction *about;
    QAction *aboutQt;
    QAction *quit;
    QAction *run;
};

#endif
