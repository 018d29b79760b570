#pragma once

// A polynomial kept expanded in powers of x, evaluated by Horner's rule. The packed
// renderers evaluate it in exactly the same order, so both give identical values.
template <int Degree>
struct KivEnvelopePolynomial {
    static constexpr int kCount = Degree + 1;
    double c[kCount] = {};  // c[k] multiplies x^k

    double Evaluate(double x) const noexcept {
        double sum = c[Degree];
        for (int k = Degree - 1; k >= 0; --k) sum = sum * x + c[k];
        return sum;
    }

    // The polynomial whose value at x is sum of local[k] * (x - origin)^k.
    static KivEnvelopePolynomial FromLocal(const double (&local)[kCount], double origin) noexcept {
        KivEnvelopePolynomial result;
        // Multiplies out (x - origin)^k term by term: power holds its coefficients.
        double power[kCount] = {1.0};
        for (int k = 0; k <= Degree; ++k) {
            for (int j = 0; j <= k; ++j) result.c[j] += local[k] * power[j];
            for (int j = k + 1; j >= 1; --j)
                if (j < kCount) power[j] = power[j - 1] - origin * power[j];
            power[0] *= -origin;
        }
        return result;
    }
};
