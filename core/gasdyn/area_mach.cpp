#include "gasdyn/area_mach.h"

#include <cmath>

namespace cdnozzle {

std::string notConvergedMessage()
{
    return "iterasyon " + std::to_string(kIterationLimit) + " adımda yakınsamadı";
}

double M_iter(const Gas& s, double AAr, double Mr, std::string_view rejim,
              const NotConvergedHandler& notConverged)
{
    constexpr double tolerance = 0.00001;
    double M_new = 1;
    if (rejim == kSesAlti) {
        for (int n = 1; n <= kIterationLimit; ++n) {
            const double M_old = M_new;
            const double T_r = 1 + (s.km1_2 * Mr) * Mr;
            const double T = 1 + (s.km1_2 * M_old) * M_old;
            M_new = (Mr / AAr) * std::pow(T / T_r, s.kp1_2km1);
            if (std::fabs(M_new - M_old) < tolerance) return M_new;
        }
    } else if (rejim == kSesUstu) {
        for (int n = 1; n <= kIterationLimit; ++n) {
            const double M_old = M_new;
            const double T_r = 1 + (s.km1_2 * Mr) * Mr;
            M_new = std::sqrt((std::pow((AAr * M_old) / Mr, s.kp1_2km1_inv) * T_r - 1) / s.km1_2);
            if (std::fabs(M_new - M_old) < tolerance) return M_new;
        }
    }
    if (notConverged) notConverged(notConvergedMessage());
    return M_new;
}

} // namespace cdnozzle
