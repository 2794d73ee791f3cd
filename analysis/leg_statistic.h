#pragma once
// The standardised residual of a leg. A leg's residual v (3 components) with
// its exact covariance Q gives the test statistic T = v^T Q^-1 v, a chi-square
// with 3 degrees of freedom when the leg holds no blunder. It is reported on
// the scale of Baarda's w: the w such that a standard normal exceeds |w| with
// the probability that T is exceeded, so that w > 3.29 is a test at 0.1 %
// per leg whatever the number of components.

#include <cstdint>

// w >= 0 for T >= 0; exact for every T (the tail is taken in logarithms, so
// a gross blunder with T in the millions still gets a finite w).
double NormalEquivalentOfChiSquare3(double t);

// The T whose w is the given one: the critical value of T for a critical w.
double ChiSquare3OfNormalEquivalent(double w);

// The critical w for a test of a whole survey at level alpha (0 < alpha < 1)
// over the given number of legs (Sidak: each leg tested at
// 1 - (1 - alpha)^(1/legs)); 3.29 is 0.1 % for one leg, about 4.18 is 5 %
// for a survey of 1,740 legs.
double SurveyWideCritical(double alpha, int64_t legs);
