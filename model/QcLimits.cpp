#include "model/QcLimits.h"

#include <cmath>

const QVector<QcLimits::Key> &QcLimits::keys()
{
    static const QVector<Key> all { { "ICV", &QcLimits::icv, nullptr, nullptr, nullptr },
        { "CCV", &QcLimits::ccv, nullptr, nullptr, nullptr },
        { "LLCCV", &QcLimits::llccv, nullptr, nullptr, nullptr },
        { "ICB", nullptr, &QcLimits::icb, nullptr, nullptr },
        { "CCB", nullptr, &QcLimits::ccb, nullptr, nullptr },
        { "EVERY", nullptr, nullptr, nullptr, &QcLimits::every },
        { "RPD", nullptr, nullptr, &QcLimits::rpd, nullptr },
        { "MS", &QcLimits::ms, nullptr, nullptr, nullptr },
        { "LCS", &QcLimits::lcs, nullptr, nullptr, nullptr },
        { "MB", nullptr, &QcLimits::mb, nullptr, nullptr } };
    return all;
}

QcLimits::Range QcLimits::recovery(QcRole::Role role) const
{
    if (QcRole::isSpiked(role))
        return ms;
    return role == QcRole::ICV  ? icv
        : role == QcRole::LLCCV ? llccv
        : role == QcRole::LCS   ? lcs
                                : ccv;
}

double QcLimits::blankFactor(QcRole::Role role) const
{
    return role == QcRole::ICB ? icb : role == QcRole::MB ? mb : ccb;
}

QString QcLimits::problem() const
{
    for (const Key &key : keys()) {
        const QString name = QLatin1String(key.name);
        // Written so that NaN fails too.
        if (key.range
            && !((this->*key.range).low >= 0.0 && (this->*key.range).low < (this->*key.range).high
                && std::isfinite((this->*key.range).high)))
            return QStringLiteral("%1 must be LOW-HIGH in percent, 0 <= LOW < HIGH").arg(name);
        if (key.factor && !(this->*key.factor > 0.0 && std::isfinite(this->*key.factor)))
            return QStringLiteral("%1 must be a factor above 0").arg(name);
        if (key.percent && !(this->*key.percent > 0.0 && std::isfinite(this->*key.percent)))
            return QStringLiteral("%1 must be a percentage above 0").arg(name);
        if (key.count && this->*key.count < 1)
            return QStringLiteral("%1 must be a whole number, 1 or more").arg(name);
    }
    return QString();
}
