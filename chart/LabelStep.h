// The sequence of nice label steps: 1, 2, 5, 10, 20, 50, ... and 0.5, 0.2, 0.1, ... below 1.
#pragma once

namespace chart {

// The next step of the sequence strictly greater than `step`. An infinite step gives 1;
// a step that is not a positive number (never passed by the engine) gives 1 as well.
double NextLabelStep(double step);

}  // namespace chart
