#include "app/program.h"
#include "platform/requesters.h"

int main()
{
    platform::UseRequesters(platform::MakeDesktopRequesters());
    State state;
    ProgramMain(state);
    return 0;
}
