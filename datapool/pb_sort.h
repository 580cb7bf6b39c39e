// The phonebook's quicksort, kept exactly as the phone software's lists are
// sorted: middle pivot taken by value, Hoare scans, recursion on the left
// part and a loop on the right. It is not stable, and the order it leaves
// among equal upper-cased names (anna and Anna) is part of the behaviour that
// users see.
//
// It is a template over the item and its three-way comparison so that the
// load can run the very same steps over positions instead of entries (see
// pb_load_order.cpp).
#pragma once

#include <utility>
#include <vector>

template <typename T, typename TCompare>
void PhonebookQuickSort(std::vector<T>& Items, int L, int R, const TCompare& Compare) {
  int I;
  do {
    I = L;
    int J = R;
    const T Pivot = Items[(L + R) / 2];
    do {
      while (Compare(Items[I], Pivot) < 0) ++I;
      while (Compare(Items[J], Pivot) > 0) --J;
      if (I <= J) {
        std::swap(Items[I], Items[J]);
        ++I;
        --J;
      }
    } while (I <= J);
    if (L < J) PhonebookQuickSort(Items, L, J, Compare);
    L = I;
  } while (I < R);
}

template <typename T, typename TCompare>
void PhonebookSort(std::vector<T>& Items, const TCompare& Compare) {
  if (!Items.empty()) PhonebookQuickSort(Items, 0, static_cast<int>(Items.size()) - 1, Compare);
}
