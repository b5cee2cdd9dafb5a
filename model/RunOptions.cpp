#include "model/RunOptions.h"

#include <cmath>

QStringList RunOptions::instruments()
{
    return { QStringLiteral("HR-ICP-MS"), QStringLiteral("Q-ICP-MS") };
}

QStringList RunOptions::blankModeWords()
{
    return { QStringLiteral("none"), QStringLiteral("y-intercept"), QStringLiteral("subtract") };
}

QStringList RunOptions::weightingWords()
{
    return { QStringLiteral("none"), QStringLiteral("1/x"), QStringLiteral("1/x2") };
}

Status RunOptions::check(QString *member) const
{
    const auto refuse = [member](const QString &name, const QString &reason) {
        if (member)
            *member = name;
        return Status::failure(reason);
    };
    if (!instruments().contains(instrument))
        return refuse(QStringLiteral("instrument"),
            QStringLiteral("unknown instrument '%1': use %2")
                .arg(instrument, instruments().join(QStringLiteral(" or "))));
    for (const auto &bound : { std::make_pair("recoveryLow", recoveryLow),
             std::make_pair("recoveryHigh", recoveryHigh) }) {
        if (bound.second < 0 || bound.second > MAXIMUM_RECOVERY)
            return refuse(QLatin1String(bound.first),
                QStringLiteral("'%1' must be a whole number of percents from 0 to %2")
                    .arg(QLatin1String(bound.first))
                    .arg(MAXIMUM_RECOVERY));
    }
    if (recoveryLow >= recoveryHigh)
        return refuse(QStringLiteral("recoveryHigh"),
            QStringLiteral("'recoveryHigh' must be above 'recoveryLow'"));
    // Written so that NaN fails too.
    if (!(minimumR2 >= 0.0 && minimumR2 <= 1.0))
        return refuse(QStringLiteral("minimumR2"),
            QStringLiteral("'minimumR2' must be a number from 0 to 1"));
    if (!(tolerance > 0.0 && tolerance <= 100.0))
        return refuse(QStringLiteral("tolerance"),
            QStringLiteral("'tolerance' must be a number above 0 and up to 100"));
    const QString limits = qcLimits.problem();
    if (!limits.isEmpty())
        return refuse(QStringLiteral("qcLimits"), QStringLiteral("'qcLimits': ") + limits);
    return Status::success();
}
