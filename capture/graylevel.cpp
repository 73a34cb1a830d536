// The grey level of a colour.
#include "capture/graylevel.h"

#include "core/fontstore.h"

int GrayLevel(platform::Rgb colour)
{
    const double grey = 0.3 * platform::Red(colour) + 0.59 * platform::Green(colour) + 0.11 * platform::Blue(colour);
    return int(RoundToInt(grey));
}
