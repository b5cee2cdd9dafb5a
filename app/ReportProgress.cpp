#include "app/ReportProgress.h"

#include <QCoreApplication>

ReportProgress::ReportProgress(QWidget *parent)
    : QProgressDialog(tr("Laying out the report's pages…"), tr("Cancel"), 0, 0, parent)
{
    setWindowTitle(tr("Save Report"));
    setWindowModality(Qt::WindowModal);
    setMinimumDuration(500);
}

ReportPages::Progress ReportProgress::callback()
{
    return [this](int page, int pageCount) {
        if (pageCount > 0 && maximum() != pageCount) {
            setLabelText(tr("Drawing the report's %1 pages…").arg(pageCount));
            setMaximum(pageCount);
        }
        setValue(pageCount > 0 ? page : 0);
        QCoreApplication::processEvents();
        return !wasCanceled();
    };
}
