#include "ddraw/live_objects.h"

#include <algorithm>
#include <vector>

#include "compose/blit_queue.h"
#include "ddraw/display_loss.h"
#include "ddraw/display_state.h"
#include "ddraw/full_screen.h"
#include "ddraw/surface.h"
#include "ddraw/testing_hooks.h"

namespace platform::ddraw {
namespace {

struct Registry {
    int generation = 0;
    int live = 0;
    std::vector<DisplayState*> displays;
};

Registry& Objects()
{
    static Registry registry;
    return registry;
}

} // namespace

LiveObject::LiveObject()
    : generation_(Objects().generation)
{
    ++Objects().live;
}

LiveObject::~LiveObject()
{
    if (IsCurrent()) --Objects().live;
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

void RegisterDisplay(DisplayState* display) { Objects().displays.push_back(display); }

void UnregisterDisplay(DisplayState* display) { std::erase(Objects().displays, display); }

void LoseAllSurfaces()
{
    for (DisplayState* display : Objects().displays)
        display->LoseSurfaces();
}

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
    registry.live = 0;
    ++registry.generation;
    LeaveFullScreen();
}

int LiveObjectCount() { return Objects().live; }

} // namespace platform::ddraw
