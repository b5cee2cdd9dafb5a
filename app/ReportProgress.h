#ifndef KETRION_REPORTPROGRESS_H
#define KETRION_REPORTPROGRESS_H

#include "display/ReportPages.h"

#include <QProgressDialog>

// Save Report's progress on a large run, page by page, with Cancel: shown
// only when the report takes longer than a moment.
class ReportProgress : public QProgressDialog
{
    Q_OBJECT

public:
    explicit ReportProgress(QWidget *parent);

    // What the report is told each page; false once Cancel was pressed.
    ReportPages::Progress callback();
};

#endif
