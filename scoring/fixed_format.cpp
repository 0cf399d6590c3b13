#include "scoring/fixed_format.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace quillon {
namespace {

constexpr std::uint32_t kPowersOfTen[] = {1,      10,      100,      1000,      10000,
                                          100000, 1000000, 10000000, 100000000, 1000000000};

// Just enough of an unsigned big integer (little-endian base 2^32) for exact conversion.
class BigUnsigned {
public:
    explicit BigUnsigned(std::uint64_t value)
        : limbs_{static_cast<std::uint32_t>(value), static_cast<std::uint32_t>(value >> 32)} {
        trim();
    }

    void multiply(std::uint32_t factor) {
        std::uint64_t carry = 0;
        for (auto& limb : limbs_) {
            const std::uint64_t product = std::uint64_t{limb} * factor + carry;
            limb = static_cast<std::uint32_t>(product);
            carry = product >> 32;
        }
        if (carry != 0) limbs_.push_back(static_cast<std::uint32_t>(carry));
    }

    void shiftLeft(int bits) {
        for (; bits >= 16; bits -= 16) multiply(1u << 16);
        multiply(1u << bits);
    }

    // Divides by 2^bits, rounding half to even.
    void shiftRightRounded(int bits) {
        const bool half = bit(bits - 1);
        bool below = false;
        for (int i = 0; i < bits - 1 && !below; ++i) below = bit(i);
        const std::size_t words = static_cast<std::size_t>(bits / 32);
        const int rest = bits % 32;
        std::vector<std::uint32_t> shifted;
        for (std::size_t i = words; i < limbs_.size(); ++i) {
            std::uint64_t value = limbs_[i] >> rest;
            if (rest != 0 && i + 1 < limbs_.size()) value |= std::uint64_t{limbs_[i + 1]} << (32 - rest);
            shifted.push_back(static_cast<std::uint32_t>(value));
        }
        limbs_ = shifted.empty() ? std::vector<std::uint32_t>{0} : shifted;
        trim();
        if (half && (below || (limbs_[0] & 1u) != 0)) add(1);
    }

    std::string decimal() const {
        std::vector<std::uint32_t> limbs = limbs_;
        std::string digits;
        do {
            std::uint64_t remainder = 0;
            for (auto it = limbs.rbegin(); it != limbs.rend(); ++it) {
                const std::uint64_t current = (remainder << 32) | *it;
                *it = static_cast<std::uint32_t>(current / 1000000000);
                remainder = current % 1000000000;
            }
            while (limbs.size() > 1 && limbs.back() == 0) limbs.pop_back();
            for (int i = 0; i < 9; ++i) {
                digits.push_back(static_cast<char>('0' + remainder % 10));
                remainder /= 10;
            }
        } while (!(limbs.size() == 1 && limbs[0] == 0));
        while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
        std::reverse(digits.begin(), digits.end());
        return digits;
    }

private:
    bool bit(int index) const {
        if (index < 0) return false;
        const auto word = static_cast<std::size_t>(index / 32);
        return word < limbs_.size() && ((limbs_[word] >> (index % 32)) & 1u) != 0;
    }

    void add(std::uint32_t value) {
        std::uint64_t carry = value;
        for (auto& limb : limbs_) {
            const std::uint64_t sum = std::uint64_t{limb} + carry;
            limb = static_cast<std::uint32_t>(sum);
            carry = sum >> 32;
            if (carry == 0) return;
        }
        limbs_.push_back(static_cast<std::uint32_t>(carry));
    }

    void trim() {
        while (limbs_.size() > 1 && limbs_.back() == 0) limbs_.pop_back();
    }

    std::vector<std::uint32_t> limbs_;
};

}  // namespace

std::string ExactFixed(double value, int precision) {
    const bool negative = std::signbit(value);
    if (std::isnan(value)) return negative ? "-nan" : "nan";
    if (std::isinf(value)) return negative ? "-inf" : "inf";
    precision = std::clamp(precision, 0, 9);

    // |value| = mantissa * 2^exponent exactly.
    const double magnitude = std::fabs(value);
    std::uint64_t bits;
    std::memcpy(&bits, &magnitude, sizeof bits);
    const int biased = static_cast<int>(bits >> 52);
    std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
    int exponent = -1074;
    if (biased != 0) {
        mantissa |= std::uint64_t{1} << 52;
        exponent = biased - 1075;
    }

    // The digits of |value| * 10^precision, rounded half to even.
    BigUnsigned scaled(mantissa);
    scaled.multiply(kPowersOfTen[precision]);
    if (exponent >= 0) {
        scaled.shiftLeft(exponent);
    } else {
        scaled.shiftRightRounded(-exponent);
    }
    std::string digits = scaled.decimal();
    if (digits.size() < static_cast<std::size_t>(precision) + 1) {
        digits.insert(0, static_cast<std::size_t>(precision) + 1 - digits.size(), '0');
    }
    if (precision > 0) digits.insert(digits.size() - static_cast<std::size_t>(precision), 1, '.');
    return negative ? "-" + digits : digits;
}

}  // namespace quillon
