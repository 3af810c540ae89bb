// Whole-set operations on window 2's data sets: removing records whose dates repeat an
// earlier record, sorting by observation time, and merging two sets by time.
#pragma once

#include <cstdint>
#include <vector>

#include "common/obs_store.h"

namespace planova {

// Removes the records of data set 1 (rows 1..count of column 1, mirrored in column 3)
// whose date lies within tau days (strictly) of an earlier record.  Records are taken in
// row order; each record still present compares itself with the later ones, and when a
// record is removed the one that moves into its row is not compared in that pass.
// Whole records (JD, longitude, latitude, note, station) move together in columns 1 and 3.
// Returns the number of records left; `removals` receives, for every removal, the row of
// the record that was kept (the row it stood in during its pass) and its date.
// O(n log n + matches): suits sets of any size.
struct CleanRemoval {
  int32_t keptRow;
  double keptJd;
};
int32_t CleanDuplicateDates(ObservationStore& store, int32_t count, double tauDays, std::vector<CleanRemoval>& removals);

// Sorts rows 1..count of data set 1 by date, ascending or descending, leaving the result
// in columns 1 and 3 (whole records, as above).  Records with equal dates keep their
// order, so every record stands exactly once.
void SortByDate(ObservationStore& store, int32_t count, bool ascending);

}  // namespace planova
