#pragma once
// The desktop's multiply-divide: number * numerator / denominator on a 64-bit intermediate,
// rounded to the nearest integer (halves away from zero); -1 when the denominator is 0.
int MulDiv(int number, int numerator, int denominator);
