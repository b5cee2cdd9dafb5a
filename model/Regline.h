#ifndef KETRION_REGLINE_H
#define KETRION_REGLINE_H

// One calibration line of one isotope: intensity = slope * concentration + yIntercept.
struct Regline
{
    double slope;
    double yIntercept;
    double slopeVariance;
    double yInterceptVariance;
};

#endif
