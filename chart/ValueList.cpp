#include "chart/ValueList.h"

#include <cstring>
#include <new>

#include "chart/Exceptions.h"

namespace chart {

int& TChartValueList::GrowthStep() {
    static int step = 1000;
    return step;
}

TChartValueList::TChartValueList(TChartSeries* owner, QString name, TChartListOrder order)
    : FName(std::move(name)), FOrder(order), FOwner(owner) {}

double TChartValueList::First() const {
    if (FCount == 0) throw ChartException(QStringLiteral("List index out of bounds (0)"));
    return Value(0);
}

double TChartValueList::Last() const {
    if (FCount == 0) throw ChartException(QStringLiteral("List index out of bounds (-1)"));
    return Value(FCount - 1);
}

void TChartValueList::MakeRoom() {
    if (FValue.Length() > FCount) return;
    FValue.Resize(FValue.Length() + GrowthStep());
}

int TChartValueList::AddOrderedSlow(double value) {
    const int c = FCount;
    int index = c;
    double* v = FValue.Data();
    if (FOrder == loAscending) {
        // A NaN on either side counts as in order: the value is appended.
        if (c > 0 && v[c - 1] > TempValue) {
            int i = c - 1;
            while (i >= 0 && TempValue < v[i]) --i;
            index = i + 1;
        }
    } else if (FOrder == loDescending) {
        if (c > 0 && v[c - 1] < TempValue) {
            int i = c - 1;
            while (i >= 0 && TempValue > v[i]) --i;
            index = i + 1;
        }
    }
    InsertValue(index, TempValue);
    return index;
}

void TChartValueList::InsertValueSlow(int index, double value) {
    MakeRoom();
    double* v = FValue.Data();
    if (index < FCount)
        std::memmove(v + index + 1, v + index, sizeof(double) * static_cast<size_t>(FCount - index));
    v[index] = value;
    ++FCount;
    FModified = true;
    NoteAdded(value);
}

void TChartValueList::Delete(int index) {
    double* v = FValue.Data();
    std::memmove(v + index, v + index + 1, sizeof(double) * static_cast<size_t>(FCount - index - 1));
    --FCount;
    FModified = true;
    FStatsValid = false;
}

void TChartValueList::ClearValues() {
    FValue.Release();
    FCount = 0;
    FModified = true;
    FStatsValid = true;
    FMin = FMax = 0;
}

void TChartValueList::RecalcStats() const {
    FMin = FMax = 0;
    const double* v = FValue.Data();
    for (int i = 0; i < FCount; ++i) {
        if (i == 0 || v[i] < FMin) FMin = v[i];
        if (i == 0 || v[i] > FMax) FMax = v[i];
    }
    FStatsValid = true;
}

double TChartValueList::MinValue() const {
    if (!FStatsValid) RecalcStats();
    return FCount ? FMin : 0;
}

double TChartValueList::MaxValue() const {
    if (!FStatsValid) RecalcStats();
    return FCount ? FMax : 0;
}

}  // namespace chart
