#include "model/value_tables.h"

#include <cmath>

namespace model {

double GraphXPerDecade() {
    static const double value = 575.0 / (std::log(20000.0) / std::log(10.0) - std::log(20.0) / std::log(10.0));
    return value;
}

}  // namespace model
