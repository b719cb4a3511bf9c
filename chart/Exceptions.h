// The chart engine's exceptions: AxisException from the axis range setters,
// ChartException from the chart's own setters and from reading an empty value list.
#pragma once

#include "platform/core/Exception.h"

namespace chart {

class AxisException : public platform::Exception {
public:
    using platform::Exception::Exception;
};

class ChartException : public platform::Exception {
public:
    using platform::Exception::Exception;
};

}  // namespace chart
