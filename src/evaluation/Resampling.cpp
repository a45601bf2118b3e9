#include "evaluation/Resampling.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {
// log(k!) exactly summed below 16, by Stirling's series above (error below 1e-12 there).
double LogFactorial(long long k) {
    static const std::array<double, 16> small = [] {
        std::array<double, 16> t{};
        for (std::size_t i = 1; i < t.size(); ++i)
            t[i] = t[i - 1] + std::log(static_cast<double>(i));
        return t;
    }();
    if (k < 16)
        return small[static_cast<std::size_t>(k)];
    const double x = static_cast<double>(k);
    const double inverse = 1.0 / x;
    const double inverse2 = inverse * inverse;
    constexpr double HalfLogTwoPi = 0.91893853320467274178;
    return (x + 0.5) * std::log(x) - x + HalfLogTwoPi +
           inverse * (1.0 / 12 - inverse2 * (1.0 / 360 - inverse2 * (1.0 / 1260)));
}
// 1 / x for the first steps of the inversion, which would otherwise wait on a division each.
constexpr int ReciprocalCount = 64;
const std::array<double, ReciprocalCount>& Reciprocals() {
    static const std::array<double, ReciprocalCount> table = [] {
        std::array<double, ReciprocalCount> t{};
        for (std::size_t x = 1; x < t.size(); ++x)
            t[x] = 1.0 / static_cast<double>(x);
        return t;
    }();
    return table;
}
} // namespace

Xoshiro256::Xoshiro256(std::uint64_t seed) {
    for (std::uint64_t& word : state_) {
        seed += 0x9e3779b97f4a7c15ULL;
        std::uint64_t z = seed;
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        word = z ^ (z >> 31);
    }
}

double RandomDraws::Uniform() {
    return static_cast<double>(engine_() >> 11) * 0x1.0p-53;
}

BinomialShare BinomialShare::Of(double p) {
    BinomialShare s;
    s.Complement = p > 0.5;
    s.P = std::clamp(s.Complement ? 1 - p : p, 0.0, 0.5);
    s.LogQ = std::log1p(-s.P);
    s.Odds = s.P / (1 - s.P);
    return s;
}

// Walks the probabilities from 0 upwards; the expected number of steps is about n·P + 1.
long long RandomDraws::BinomialByInversion(long long n, const BinomialShare& share) {
    const double s = share.Odds;
    const double a = static_cast<double>(n + 1) * s;
    const std::array<double, ReciprocalCount>& reciprocal = Reciprocals();
    double first = -1; // (1 − P)^n, worked out when needed
    while (true) {
        double u = Uniform();
        // (1 − P)^n ≥ 1 − n·P: below that no draw needs the power to know it is 0.
        if (u < 1 - static_cast<double>(n) * share.P)
            return 0;
        if (first < 0)
            first = std::exp(static_cast<double>(n) * share.LogQ);
        double r = first;
        long long x = 0;
        while (u > r) {
            u -= r;
            ++x;
            if (x > n)
                break; // rounding left a little mass: draw again
            r *= (x < ReciprocalCount ? a * reciprocal[static_cast<std::size_t>(x)]
                                      : a / static_cast<double>(x)) -
                 s;
        }
        if (x <= n)
            return x;
    }
}

// Transformed rejection with squeeze (Hörmann 1993); the squeeze accepts most draws at once.
long long RandomDraws::BinomialByRejection(long long n, const BinomialShare& share) {
    const double p = share.P;
    const double q = 1 - p;
    const double nn = static_cast<double>(n);
    const double spq = std::sqrt(nn * p * q);
    const double b = 1.15 + 2.53 * spq;
    const double a = -0.0873 + 0.0248 * b + 0.01 * p;
    const double c = nn * p + 0.5;
    const double vr = 0.92 - 4.2 / b;
    const double alpha = (2.83 + 5.1 / b) * spq;
    const long long m = static_cast<long long>(static_cast<double>(n + 1) * p); // the mode
    while (true) {
        const double u = Uniform() - 0.5;
        double v = Uniform();
        const double us = 0.5 - std::fabs(u);
        const auto k = static_cast<long long>(std::floor((2 * a / us + b) * u + c));
        if (k < 0 || k > n)
            continue;
        if (us >= 0.07 && v <= vr)
            return k;
        v *= alpha / (a / (us * us) + b);
        // Accept when v ≤ f(k) / f(m). Near the mode that ratio is a short product of the pmf's
        // recurrence (numerator and denominator apart, so one division), which spares the
        // logarithms; far from it, log-factorials.
        if (std::llabs(k - m) <= 40) {
            double numerator = 1;
            double denominator = 1;
            for (long long i = m + 1; i <= k; ++i) {
                numerator *= static_cast<double>(n - i + 1) * share.Odds;
                denominator *= static_cast<double>(i);
            }
            for (long long i = k + 1; i <= m; ++i) {
                numerator *= static_cast<double>(i);
                denominator *= static_cast<double>(n - i + 1) * share.Odds;
            }
            if (v * denominator <= numerator)
                return k;
            continue;
        }
        // Bounds of the log ratio around the normal approximation decide most of the rest without
        // the log-factorials.
        const double logV = std::log(v);
        const double km = std::fabs(static_cast<double>(k - m));
        const double npq = spq * spq;
        const double rho = (km / npq) * (((km / 3 + 0.625) * km + 1.0 / 6) / npq + 0.5);
        const double t = -km * km / (2 * npq);
        if (logV < t - rho)
            return k;
        if (logV > t + rho)
            continue;
        if (logV <= LogFactorial(m) + LogFactorial(n - m) - LogFactorial(k) - LogFactorial(n - k) +
                        static_cast<double>(k - m) * std::log(share.Odds))
            return k;
    }
}
