#include "ddraw/live_objects.h"

#include <algorithm>
#include <vector>

#include "compose/blit_queue.h"
#include "ddraw/display_state.h"
#include "ddraw/surface.h"
#include "ddraw/testing_hooks.h"
#include "screens/display_loss.h"
#include "screens/full_screen.h"

namespace platform::ddraw {
namespace {

struct Registry {
    int generation = 0;
    std::vector<const LiveObject*> live;
    // Objects a reset abandoned that nobody has released yet: kept, since a
    // program may still hold and call them, and known, as a process keeps
    // what it holds until it ends.
    std::vector<const LiveObject*> abandoned;
    std::vector<DisplayState*> displays;
};

Registry& Objects()
{
    // Never destroyed: objects may be released while the process exits.
    static Registry* registry = new Registry;
    return *registry;
}

// The display was taken away: every surface of every DirectDraw object is
// lost until restored.
void LoseAllSurfaces()
{
    for (DisplayState* display : Objects().displays)
        display->LoseSurfaces();
}

} // namespace

LiveObject::LiveObject()
    : generation_(Objects().generation)
{
    Objects().live.push_back(this);
}

LiveObject::~LiveObject()
{
    Registry& registry = Objects();
    std::erase(IsCurrent() ? registry.live : registry.abandoned, this);
}

bool LiveObject::IsCurrent() const { return generation_ == Objects().generation; }

void DisplayState::LoseSurfaces()
{
    for (Surface* surface : surfaces)
        surface->MarkLost();
}

void DisplayState::AbandonSurfaces()
{
    for (Surface* surface : surfaces)
        surface->Abandon();
}

void DisplayState::Forget(Surface* surface)
{
    std::erase(surfaces, surface);
    if (primary == surface) primary = nullptr;
}

void RegisterDisplay(DisplayState* display)
{
    Objects().displays.push_back(display);
    screens::ListenForDisplayLoss(&LoseAllSurfaces);
}

void UnregisterDisplay(DisplayState* display) { std::erase(Objects().displays, display); }

void ResetForTesting()
{
    Registry& registry = Objects();
    compose::ForgetAll();
    // Abandoned objects keep working safely if someone still calls them:
    // their display is gone, so every surface reports itself lost, and
    // needs no memory any more.
    for (DisplayState* display : registry.displays) {
        display->alive = false;
        display->AbandonSurfaces();
    }
    registry.displays.clear();
    registry.abandoned.insert(registry.abandoned.end(), registry.live.begin(), registry.live.end());
    registry.live.clear();
    ++registry.generation;
    screens::LeaveFullScreen();
}

int LiveObjectCount() { return int(Objects().live.size()); }

} // namespace platform::ddraw
