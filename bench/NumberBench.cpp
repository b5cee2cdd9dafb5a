#include "bench/NumberBench.h"

#include "parsers/ExportCells.h"
#include "parsers/NumberFormat.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QRandomGenerator>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>
#include <vector>

namespace {

constexpr int COUNT = 1000000;
constexpr int PASSES = 9;

template<typename Pass> double medianNs(Pass pass)
{
    std::vector<double> times;
    for (int k = 0; k < PASSES; ++k) {
        QElapsedTimer timer;
        timer.start();
        pass();
        times.push_back(double(timer.nsecsElapsed()) / COUNT);
    }
    std::sort(times.begin(), times.end());
    return times.at(times.size() / 2);
}

} // namespace

NumberBench NumberBench::measure()
{
    // Results as a run computes them: full precision over nine decades, a
    // few below the blank; cells as an instrument writes them, six digits.
    QRandomGenerator generator(20240314);
    std::vector<double> values(COUNT);
    QByteArray cells;
    std::vector<std::string_view> texts;
    for (double &value : values) {
        value = std::pow(10.0, generator.bounded(9.0) - 3.0);
        if (generator.bounded(8) == 0)
            value = -value;
        NumberFormat::append(cells, std::fabs(value));
        cells.append(';');
    }
    for (int start = 0, end = 0; (end = cells.indexOf(';', start)) != -1; start = end + 1)
        texts.emplace_back(cells.constData() + start, size_t(end - start));

    NumberBench figures;
    QByteArray written;
    figures.writeNs = medianNs([&] {
        written.resize(0);
        written.reserve(COUNT * 12);
        for (const double value : values)
            NumberFormat::append(written, value);
    });
    double sum = 0.0;
    const std::string_view line(cells.constData(), size_t(cells.size()));
    figures.readNs = medianNs([&] {
        ExportCells cut(line);
        std::string_view cell;
        double value = 0.0;
        bool plain = false;
        while (cut.next(&cell, false, &value, &plain))
            sum += value;
    });
    figures.fromCharsNs = medianNs([&] {
        for (const std::string_view text : texts) {
            double value = 0.0;
            std::from_chars(text.data(), text.data() + text.size(), value);
            sum += value;
        }
    });
    // The sum keeps the reads from being optimised away.
    return sum != 0.0 ? figures : NumberBench();
}
