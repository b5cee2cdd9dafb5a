#include "app/RunQcLimits.h"

#include "app/SpinBoxes.h"
#include "ui_RunQcLimits.h"

#include <QDoubleSpinBox>
#include <QLabel>
#include <QSpinBox>

namespace {

// The run QC's keys on the left, the batch QC's from RPD on the right.
constexpr int FIRST_BATCH_KEY = 6;
constexpr int RANGE_DECIMALS = 1;
constexpr int FACTOR_DECIMALS = 2;
constexpr double LARGEST = 100000.0;

QString label(const QString &key)
{
    if (key == QLatin1String("EVERY"))
        return RunQcLimits::tr("Solutions between checks, at most");
    if (key == QLatin1String("RPD"))
        return RunQcLimits::tr("Duplicate RPD, at most (%)");
    if (key == QLatin1String("MS"))
        return RunQcLimits::tr("MS, MSD recovery (%)");
    if (key == QLatin1String("MB"))
        return RunQcLimits::tr("Method blank, at most (× LOQ)");
    if (key.endsWith(QLatin1Char('B')))
        return RunQcLimits::tr("%1, at most (× LOQ)").arg(key);
    return RunQcLimits::tr("%1 recovery (%)").arg(key);
}

QDoubleSpinBox *numberBox(QWidget *parent, double least, const QString &name)
{
    auto *box = new QDoubleSpinBox(parent);
    box->setObjectName(name);
    box->setRange(least, LARGEST);
    return box;
}

} // namespace

RunQcLimits::RunQcLimits(QWidget *parent) : QGroupBox(parent), ui(new Ui::RunQcLimits)
{
    ui->setupUi(this);
    const QVector<QcLimits::Key> &keys = QcLimits::keys();
    for (int k = 0; k < keys.size(); ++k) {
        const bool batch = k >= FIRST_BATCH_KEY;
        m_boxes << addRow(keys.at(k), batch ? k - FIRST_BATCH_KEY : k, batch ? 1 : 0);
    }
    ui->limitsLayout->setColumnStretch(8, 1);
    connect(ui->defaults, &QPushButton::clicked, this, [this] { setLimits(QcLimits()); });
    setLimits(QcLimits());
}

RunQcLimits::~RunQcLimits()
{
    delete ui;
}

RunQcLimits::Boxes RunQcLimits::addRow(const QcLimits::Key &key, int row, int column)
{
    const QString name = QString::fromLatin1(key.name);
    const int at = 5 * column; // four boxes and labels, then a gap
    ui->limitsLayout->addWidget(new QLabel(label(name), this), row, at);
    Boxes boxes;
    if (key.count) {
        boxes.count = new QSpinBox(this);
        boxes.count->setObjectName(name + QStringLiteral("Count"));
        boxes.count->setRange(1, int(LARGEST));
        ui->limitsLayout->addWidget(boxes.count, row, at + 1);
        connect(
            boxes.count, QOverload<int>::of(&QSpinBox::valueChanged), this, &RunQcLimits::changed);
        return boxes;
    }
    // Above 0: a factor or an RPD; a range's low may be 0.
    boxes.low = numberBox(this, key.range ? 0.0 : 0.01, name + QStringLiteral("Low"));
    ui->limitsLayout->addWidget(boxes.low, row, at + 1);
    connect(boxes.low, QOverload<double>::of(&QDoubleSpinBox::valueChanged), this,
        &RunQcLimits::changed);
    if (key.range) {
        boxes.high = numberBox(this, 0.0, name + QStringLiteral("High"));
        ui->limitsLayout->addWidget(new QLabel(QStringLiteral("–"), this), row, at + 2);
        ui->limitsLayout->addWidget(boxes.high, row, at + 3);
        connect(boxes.high, QOverload<double>::of(&QDoubleSpinBox::valueChanged), this,
            &RunQcLimits::changed);
    }
    return boxes;
}

QcLimits RunQcLimits::limits() const
{
    QcLimits limits;
    const QVector<QcLimits::Key> &keys = QcLimits::keys();
    for (int k = 0; k < keys.size(); ++k) {
        const QcLimits::Key &key = keys.at(k);
        const Boxes &boxes = m_boxes.at(k);
        if (key.range)
            limits.*key.range = { boxes.low->value(), boxes.high->value() };
        else if (key.count)
            limits.*key.count = boxes.count->value();
        else
            limits.*(key.factor ? key.factor : key.percent) = boxes.low->value();
    }
    return limits;
}

void RunQcLimits::setLimits(const QcLimits &limits)
{
    const QVector<QcLimits::Key> &keys = QcLimits::keys();
    for (int k = 0; k < keys.size(); ++k) {
        const QcLimits::Key &key = keys.at(k);
        const Boxes &boxes = m_boxes.at(k);
        if (key.range) {
            SpinBoxes::showExactly(boxes.low, (limits.*key.range).low, RANGE_DECIMALS);
            SpinBoxes::showExactly(boxes.high, (limits.*key.range).high, RANGE_DECIMALS);
        } else if (key.count) {
            boxes.count->setValue(limits.*key.count);
        } else {
            SpinBoxes::showExactly(boxes.low, limits.*(key.factor ? key.factor : key.percent),
                key.factor ? FACTOR_DECIMALS : RANGE_DECIMALS);
        }
    }
}
