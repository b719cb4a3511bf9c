// What the mouse does to the chart, free of widgets: the hit test that decides where a pan
// drag may start (an axis band, the title, the plot rectangle), the drag itself (each step
// shifts the horizontal axes so that the value under the pointer stays under it), and hover
// highlighting (the point, line segment or axis label under the pointer). Everything works
// on the chart model and on the layout results of its last draw; the chart widget only
// turns its events into these calls.
#pragma once

#include <Qt>

namespace chart {

class TChart;
class TChartAxis;
class TChartSeries;
class TTextMeasurer;

// Which directions a drag pans.
enum class TPanningMode { None, Horizontal, Vertical, Both };

// The mouse settings of the chart, set up as this program uses them: the left button pans
// horizontally, with no modifier keys; the drag goes on when the pointer leaves the plot.
// Zooming by mouse is off and the wheel does nothing (neither is implemented).
struct TPanningSettings {
    TPanningMode AllowPanning = TPanningMode::Horizontal;
    Qt::MouseButton ScrollMouseButton = Qt::LeftButton;
    // On: a drag step with the pointer outside ChartRect ends the drag.
    bool InsideBounds = false;
};

// The part of the chart a mouse press lands on; only these parts start a pan drag.
enum class TChartPart { None, Axis, Title, Plot };

// Hit tolerance of the series hit test, in pixels.
constexpr int kClickTolerance = 0;

// ---- hit tests on the last draw's layout

// True when (x, y) lies in the band of a shown `axis`: along it its pixel range, across it
// the strip between PosLabels and PosAxis widened by 3 pixels into the plot (left axis: x
// from PosAxis - 7 to PosAxis + 3; bottom axis: y from PosAxis - 3 to PosAxis + 7). Edges
// count; the label texts lie outside.
bool AxisBandContains(const TChartAxis& axis, int x, int y);

// The part under (x, y), tried in the order axis band (shown axes in the chart's order),
// title box, plot rectangle (only while some series is active); edges count.
TChartPart ChartPartAt(const TChart& chart, int x, int y);

// True when the line of `series` can be hovered: so for the line series (the zero lines),
// not for the point series.
bool ClickableLine(const TChartSeries& series);

// The value index under (x, y) in the range `series` drew last (FirstValueIndex ..
// LastValueIndex), starting one index earlier when its line is clickable; -1 when nothing
// is hit. In ascending index order, the first index i wins whose square (visible pointer)
// holds the pointer within the half sizes (|dx| < HorizSize, |dy| < VertSize), or whose
// pixel is the pointer, or (clickable line) whose segment from point i - 1 passes within 1
// pixel of the pointer, which gives i - 1, the segment's start.
int SeriesIndexAt(const TChartSeries& series, int x, int y);

// ---- the drag and the hover state machine

class TChartMouse {
public:
    // Works on `chart`, which must outlive it.
    explicit TChartMouse(TChart& chart);

    TPanningSettings& Panning() { return panning_; }
    const TPanningSettings& Panning() const { return panning_; }

    // A press of `button` at (x, y): starts a pan drag when the scroll button lands on an
    // axis band, the title or the plot and panning is allowed. True when the drag started
    // (the caller then keeps the mouse moves coming while the button is held). A press
    // while a drag runs changes nothing.
    bool MouseDown(Qt::MouseButton button, int x, int y);

    // A move to (x, y): a drag step while dragging, else hover tracking, which measures the
    // axis labels with `measurer` (it must measure as the last draw did).
    void MouseMove(int x, int y, const TTextMeasurer& measurer);

    // A release of any button ends the drag.
    void MouseUp(Qt::MouseButton button, int x, int y);

    // The pointer left the chart: every highlight goes; a drag goes on.
    void MouseLeave();

    // Ends a drag that lost its button (its release went elsewhere).
    void CancelDrag() { dragging_ = false; }

    bool Dragging() const { return dragging_; }
    int StartX() const { return x0_; }
    int StartY() const { return y0_; }
    int LastX() const { return x1_; }
    int LastY() const { return y1_; }

    // One drag step from the last point to (x, y) without the event around it: shifts the
    // axes (horizontal and vertical as AllowPanning says) and asks for a repaint when the
    // horizontal step ran. Public for tests; MouseMove calls it while dragging.
    void DragTo(int x, int y);

    // One hover update at (x, y) (MouseMove calls it when no drag runs): the series that
    // have their selection record, then the labels of the shown axes; series without a
    // record get one, so they take part from the next move on.
    void HoverAt(int x, int y, const TTextMeasurer& measurer);

private:
    TChart& chart_;
    TPanningSettings panning_;
    bool dragging_ = false;
    int x0_ = 0;
    int y0_ = 0;
    int x1_ = 0;
    int y1_ = 0;
};

// Shifts `axis` by the values between pixels `from` and `to` (v(from) - v(to)), setting its
// minimum and maximum together. The values come from the range the axis holds now (its
// stored ends; an automatic end the range in force at the last draw) over the pixel range
// of the last layout, so that steps with no draw between them add up.
void ShiftAxis(TChartAxis& axis, int from, int to);

}  // namespace chart
