#pragma once
// What the customer types into the input boxes of the project actions.
#include <QString>

enum class TQuantityInput { Zero, Invalid, Valid };

// The text as an integer (-1 when it is not one): 0 is Zero, below 0 or 100 and above
// Invalid, 1..99 Valid with the number in quantity.
TQuantityInput ParseQuantity(const QString& text, int& quantity);

// The photo's new name: the folder of its current name + "/" + the trimmed text; an empty
// result when the trimmed text is empty (the rename is then ignored). No extension is added.
QString RenamedName(const QString& currentName, const QString& text);
