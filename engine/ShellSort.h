#pragma once

// Sorts an int array in place by compare(a, b) -> int (> 0 when a goes after
// b). An element moves only past elements that compare strictly greater, so
// the gap sequence 1, 4, 13, 40, ... fixes the order of equal elements.
template <typename Compare>
void ShellSort(int* a, int n, Compare&& compare)
{
    int h = 1;
    while (h < n / 9)
        h = 3 * h + 1;
    for (; h > 0; h /= 3) {
        for (int i = h; i < n; ++i) {
            const int v = a[i];
            int j = i - h;
            while (j >= 0 && compare(a[j], v) >= 1) {
                a[j + h] = a[j];
                j -= h;
            }
            a[j + h] = v;
        }
    }
}
