#include "rtfnumbers.h"

#include <utility>

namespace rtf {

QString RomanNumber(int n)
{
    static const std::pair<int, const char *> parts[] = {{1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"},
                                                         {100, "c"},  {90, "xc"},  {50, "l"},  {40, "xl"},
                                                         {10, "x"},   {9, "ix"},   {5, "v"},   {4, "iv"},
                                                         {1, "i"}};
    QString text;
    for (const auto &[value, letters] : parts) {
        for (; n >= value && text.size() < 40; n -= value)
            text += QLatin1String(letters);
    }
    return text;
}

} // namespace rtf
