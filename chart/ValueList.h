// One list of values of a series (its X or its Y values): the storage that grows in fixed
// steps, the order that adding keeps, and the cached smallest and largest value.
#pragma once

#include <QString>

#include "chart/ValueStorage.h"

namespace chart {

class TChartSeries;

enum TChartListOrder { loNone, loAscending, loDescending };

class TChartValueList {
public:
    // The storage grows by this many values whenever an add finds it full; an engine-wide
    // setting that starts at 1000.
    static int& GrowthStep();

    TChartValueList(TChartSeries* owner, QString name, TChartListOrder order);
    TChartValueList(const TChartValueList&) = delete;
    TChartValueList& operator=(const TChartValueList&) = delete;

    int Count() const { return FCount; }
    // The value at i; the caller keeps 0 <= i < Count().
    double Value(int i) const { return FValue.Data()[i]; }
    const double* Data() const { return FValue.Data(); }
    // Length of the storage, a multiple of the growth step (0 after ClearValues).
    int Capacity() const { return FValue.Length(); }

    // The first and the last value; both throw ChartException on an empty list.
    double First() const;
    double Last() const;

    // Stores `value` as TempValue and adds it where the list's order puts it (after any
    // equal values); returns the index used.
    int AddOrdered(double value) {
        TempValue = value;
        // The common case, a value that comes in order at the end, is appended directly.
        if (FOrder == loNone || FCount == 0 ||
            (FOrder == loAscending ? !(FValue.Data()[FCount - 1] > value)
                                   : !(FValue.Data()[FCount - 1] < value))) {
            InsertValue(FCount, value);
            return FCount - 1;
        }
        return AddOrderedSlow(value);
    }
    // Inserts `value` at `index`, whatever the order.
    void InsertValue(int index, double value) {
        if (index == FCount && FCount < FValue.Length()) {
            FValue.Data()[FCount++] = value;
            FModified = true;
            NoteAdded(value);
            return;
        }
        InsertValueSlow(index, value);
    }
    void Delete(int index);
    // Count 0 and the storage released.
    void ClearValues();

    // Smallest and largest value, 0 for an empty list; kept up to date as values are added.
    double MinValue() const;
    double MaxValue() const;

    TChartSeries* Owner() const { return FOwner; }
    const QString& Name() const { return FName; }
    TChartListOrder Order() const { return FOrder; }
    void SetOrder(TChartListOrder order) { FOrder = order; }
    bool DateTime() const { return FDateTime; }
    bool Modified() const { return FModified; }
    void SetModified(bool modified) { FModified = modified; }

    double TempValue = 0;

private:

    int AddOrderedSlow(double value);
    void InsertValueSlow(int index, double value);
    void MakeRoom();
    void NoteAdded(double value) {
        if (!FStatsValid) return;
        if (FCount == 1) {
            FMin = FMax = value;
        } else {
            if (value < FMin) FMin = value;
            if (value > FMax) FMax = value;
        }
    }
    void RecalcStats() const;

    int FCount = 0;
    bool FDateTime = false;
    QString FName;
    TChartListOrder FOrder;
    TChartSeries* FOwner;
    bool FModified = false;
    TValueStorage FValue;

    mutable bool FStatsValid = true;
    mutable double FMin = 0;
    mutable double FMax = 0;
};

}  // namespace chart
