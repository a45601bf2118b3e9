#pragma once
// Random draws for the bootstrap of the comparison: a seeded xoshiro256** generator with its own
// uniform and binomial draws, so that the same files give the same figures with any standard
// library (the library's distributions are implementation-defined).

#include <cstdint>

// A success probability with what its draws need, worked out once for many draws.
struct BinomialShare {
    double P = 0;            // the smaller of p and 1 − p
    bool Complement = false; // P is 1 − p: a draw counts the failures
    double LogQ = 0;         // log(1 − P)
    double Odds = 0;         // P / (1 − P)

    static BinomialShare Of(double p);
};

// xoshiro256** (Blackman and Vigna): a few cycles a number where the Mersenne Twister takes several
// times that, and ample for a bootstrap. Its state is filled from the seed by SplitMix64.
class Xoshiro256 {
public:
    explicit Xoshiro256(std::uint64_t seed);
    std::uint64_t operator()() {
        const std::uint64_t result = RotateLeft(state_[1] * 5, 7) * 9;
        const std::uint64_t t = state_[1] << 17;
        state_[2] ^= state_[0];
        state_[3] ^= state_[1];
        state_[1] ^= state_[2];
        state_[0] ^= state_[3];
        state_[2] ^= t;
        state_[3] = RotateLeft(state_[3], 45);
        return result;
    }

private:
    static std::uint64_t RotateLeft(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
    std::uint64_t state_[4];
};

class RandomDraws {
public:
    explicit RandomDraws(std::uint64_t seed) : engine_(seed) {}

    // Uniform in [0, 1), from the upper 53 bits of one engine output.
    double Uniform();
    // The number of successes in n trials of probability p (0 ≤ p ≤ 1).
    long long Binomial(long long n, double p) { return Binomial(n, BinomialShare::Of(p)); }
    long long Binomial(long long n, const BinomialShare& share) {
        if (n <= 0 || share.P <= 0)
            return share.Complement ? n : 0;
        const long long x = static_cast<double>(n) * share.P < 10 ? BinomialByInversion(n, share)
                                                                  : BinomialByRejection(n, share);
        return share.Complement ? n - x : x;
    }

private:
    long long BinomialByInversion(long long n, const BinomialShare& share); // n·P small
    long long BinomialByRejection(long long n, const BinomialShare& share); // n·P ≥ 10

    Xoshiro256 engine_;
};
