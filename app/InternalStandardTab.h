#ifndef KETRION_INTERNALSTANDARDTAB_H
#define KETRION_INTERNALSTANDARDTAB_H

#include "app/InternalStandardChoice.h"

#include <QWidget>

#include <memory>

class InternalStandardPlot;
class Measurements;
class QwtPlot;

namespace Ui {
class InternalStandardTab;
}

// One group's IS isotope along the running order, with the recovery bounds
// the Configuration tab sets now, whatever the last run used.
class InternalStandardTab : public QWidget
{
    Q_OBJECT

public:
    explicit InternalStandardTab(QWidget *parent = nullptr);
    ~InternalStandardTab() override;

    InternalStandardTab(const InternalStandardTab &) = delete;
    InternalStandardTab &operator=(const InternalStandardTab &) = delete;

    // Nothing of the earlier file shown.
    void clear();
    // The export just read, which the window keeps; this tab shows it as it
    // is when it draws.
    void showExport(const Measurements &data);
    void showOutcome();
    QwtPlot *plot() const;

public slots:
    // The groups' IS isotopes offered, the first one drawn.
    void showIsotopes(const InternalStandardChoice &choice);
    // The same isotopes, another reference, IS correction or recovery bounds.
    void follow(const InternalStandardChoice &choice);

private:
    void draw();

    Ui::InternalStandardTab *ui;
    std::unique_ptr<InternalStandardPlot> m_plot;
    InternalStandardChoice m_choice;
    const Measurements *m_data = nullptr;
};

#endif
