// The statistics routines of the raw data map reduction, in the precisions the program has
// always used, over the values of one cell's value list.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tallimar::engine {

// Splits a cell's value list at "," and reads every element leniently (leading blanks
// skipped, the number ends where it cannot go on, text without a number reads 0), so an empty
// element or a stray character never stops the reduction. Appends to `into`.
void parseValueList(std::string_view valuesText, std::vector<double>& into);

// The way a value is written into a value list: a leading blank for values >= 0, a minus
// sign otherwise, no other blanks (" 57", "-3").
std::string valueText(int value);
void appendValueText(std::string& out, int value);

// Sum in double precision divided by the count, rounded half to even. 0 for an empty list.
double roundedMean(std::span<const double> values);
// Largest and smallest value (the first element is the start value). 0 for an empty list.
double largestValue(std::span<const double> values);
double smallestValue(std::span<const double> values);

// Sample standard deviation as the program computes it: 0 for fewer than two values;
// otherwise sum accumulated in single precision, mean = sum / count, mean squared held in
// single precision, acc = sum of (value squared - mean squared) accumulated in single
// precision, result = square root of |acc / (count - 1)|.
double sampleStandardDeviation(std::span<const double> values);

}  // namespace tallimar::engine
