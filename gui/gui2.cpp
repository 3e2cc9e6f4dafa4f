// The item list: queues, passes, lookups, modal layers and alignment.
#include "gui/gui2.hpp"

#include <algorithm>

#include "gui/particledot.hpp"
#include "gui/particles.hpp"
#include "model/data2.hpp"
#include "platform/app.hpp"

std::unique_ptr<GUIItemList> GUIList::currentList;
GUIItemList GUIList::addQueue;
GUIItemList GUIList::removeQueue;
std::vector<std::unique_ptr<GUIItemList>> GUIList::layers;
int GUIList::hoverTaken = 0;
int GUIList::meterTickDone = 0;
int GUIList::inputBlocked = 0;
std::vector<std::shared_ptr<GUIItem>> GUIList::held;
std::vector<std::shared_ptr<GUIItem>> GUIList::dropped;

namespace {

// A pass walks a copy of what it is about to visit, so an item that adds, removes or suspends
// while the pass runs (a dungeon tile opening a popup from its own update) changes the lists for
// the next pass instead of under this one. An object cleared since the copy was taken is skipped:
// it is no longer the item the pass saw. The buffers keep their room from frame to frame.
struct Visit {
    GUIItem* item;
    unsigned clears;
};
std::vector<Visit> updateWalk;
std::vector<Visit> inputWalk;
std::vector<Visit> renderWalk;

void Take(std::vector<Visit>& walk, const GUIItemList& list) {
    for (GUIItem* item : list) {
        if (item) walk.push_back({item, item->clearCount});
    }
}

bool StillSame(const Visit& v) {
    return v.item->clearCount == v.clears;
}

bool warnedResume = false;

}  // namespace

void GUIList::InitGlobals() {
    currentList = std::make_unique<GUIItemList>();
    addQueue.Clear2();
    removeQueue.Clear2();
    layers.clear();
    hoverTaken = 0;
    meterTickDone = 0;
    inputBlocked = 0;
    held.clear();
    dropped.clear();
    updateWalk.clear();
    inputWalk.clear();
    renderWalk.clear();
    warnedResume = false;
}

bool GUIList::Matches(const GUIItem* item, const std::string& id, const std::string& name) {
    return item != nullptr && item->id == id && (name.empty() || item->name == name);
}

void GUIList::ClearItem(GUIItem* item) {
    if (item == nullptr) return;
    item->Clear2();
    auto it = std::find_if(held.begin(), held.end(), [item](const auto& p) { return p.get() == item; });
    if (it != held.end()) {
        // Dropped at the next update, never while a pass may still be inside the item.
        dropped.push_back(std::move(*it));
        held.erase(it);
    }
}

void GUIList::Clear() {
    if (!currentList) currentList = std::make_unique<GUIItemList>();
    for (auto& layer : layers) {
        for (int i = 0; i < layer->Size(); ++i) ClearItem(layer->Get2(i));
    }
    for (int i = 0; i < currentList->Size(); ++i) ClearItem(currentList->Get2(i));
    for (int i = 0; i < addQueue.Size(); ++i) ClearItem(addQueue.Get2(i));
    for (int i = 0; i < removeQueue.Size(); ++i) ClearItem(removeQueue.Get2(i));
    layers.clear();
    currentList = std::make_unique<GUIItemList>();
    addQueue.Clear2();
    removeQueue.Clear2();
}

void GUIList::ReleaseAll() {
    Clear();
    held.clear();
    dropped.clear();
}

void GUIList::Add(GUIItem* item, int priority, int alignX, int alignY) {
    if (item == nullptr) return;
    ModifyPos2(item, alignX, alignY);
    item->priority = priority;
    addQueue.Add(item);
}

void GUIList::AddAfter(GUIItem* item, const GUIItem* after, int alignX, int alignY) {
    Add(item, (after ? after->priority : 0) + 1, alignX, alignY);
}

void GUIList::AddLast(GUIItem* item, int alignX, int alignY) {
    if (item == nullptr) return;
    ModifyPos2(item, alignX, alignY);
    item->priority = FindFree();
    addQueue.Add(item);
    addQueue.Sort();
}

GUIItem* GUIList::Add(std::shared_ptr<GUIItem> item, int priority, int alignX, int alignY) {
    GUIItem* raw = item.get();
    if (raw == nullptr) return nullptr;
    held.push_back(std::move(item));
    Add(raw, priority, alignX, alignY);
    return raw;
}

GUIItem* GUIList::AddLast(std::shared_ptr<GUIItem> item, int alignX, int alignY) {
    GUIItem* raw = item.get();
    if (raw == nullptr) return nullptr;
    held.push_back(std::move(item));
    AddLast(raw, alignX, alignY);
    return raw;
}

int GUIList::FindFree() {
    if (currentList->IsEmpty()) return 0;
    int last = 0;
    for (GUIItem* item : *currentList) {
        if (item->priority > last + 10) break;
        last = item->priority;
    }
    return last + 10;
}

GUIItem* GUIList::Get(const std::string& id, const std::string& name) {
    for (GUIItem* item : *currentList) {
        if (Matches(item, id, name) && !removeQueue.Contains5(item)) return item;
    }
    for (GUIItem* item : addQueue) {
        if (Matches(item, id, name)) return item;
    }
    return nullptr;
}

void GUIList::Delete(const std::string& id, const std::string& name) {
    for (GUIItem* item : *currentList) {
        if (Matches(item, id, name)) {
            item->processed = 0;
            removeQueue.Add(item);
        }
    }
    for (int i = 0; i < addQueue.Size();) {
        GUIItem* item = addQueue.Get2(i);
        if (Matches(item, id, name)) {
            addQueue.RemoveAt(i);
            ClearItem(item);
        } else {
            ++i;
        }
    }
    for (auto& layer : layers) {
        for (int i = 0; i < layer->Size();) {
            GUIItem* item = layer->Get2(i);
            if (Matches(item, id, name)) {
                layer->RemoveAt(i);
                ClearItem(item);
            } else {
                ++i;
            }
        }
    }
}

void GUIList::Remove(GUIItem* item) {
    if (item == nullptr) return;
    item->processed = 0;
    removeQueue.Add(item);
}

void GUIList::HandleQueue() {
    for (int i = 0; i < removeQueue.Size(); ++i) {
        GUIItem* item = removeQueue.Get2(i);
        ClearItem(item);
        while (currentList->Remove(item)) {
        }
        while (addQueue.Remove(item)) {
        }
        for (auto& layer : layers) {
            while (layer->Remove(item)) {
            }
        }
    }
    removeQueue.Clear2();
    if (!addQueue.IsEmpty()) {
        for (GUIItem* item : addQueue) currentList->Add(item);
        addQueue.Clear2();
        // The game's own unstable sort: items of equal priority change places in its fixed way,
        // and that order is what the player sees.
        currentList->Sort();
    }
}

void GUIList::Update() {
    hoverTaken = 0;
    meterTickDone = 0;
    dropped.clear();
    HandleQueue();
    updateWalk.clear();
    for (auto& layer : layers) Take(updateWalk, *layer);
    Take(updateWalk, *currentList);
    for (const Visit& v : updateWalk) {
        if (StillSame(v)) v.item->Update2();
    }
    Particles::Update();
}

void GUIList::UpdateAction() {
    inputWalk.clear();
    Take(inputWalk, *currentList);
    for (auto it = inputWalk.rbegin(); it != inputWalk.rend(); ++it) {
        if (StillSame(*it) && it->item->UpdateAction() != 0) return;
    }
    inputBlocked = 0;
}

void GUIList::Render() {
    renderWalk.clear();
    // The oldest layer lies at the bottom.
    for (auto it = layers.rbegin(); it != layers.rend(); ++it) Take(renderWalk, **it);
    Take(renderWalk, *currentList);
    for (const Visit& v : renderWalk) {
        if (StillSame(v)) v.item->Render();
    }
    Particles::Render();
}

void GUIList::Suspend() {
    HandleQueue();
    layers.insert(layers.begin(), std::move(currentList));
    currentList = std::make_unique<GUIItemList>();
}

void GUIList::Resume() {
    if (layers.empty()) {
        if (!warnedResume) {
            warnedResume = true;
            platform::PrintLine("GUIList.Resume: nothing is suspended");
        }
        return;
    }
    for (GUIItem* item : *currentList) Remove(item);
    currentList = std::move(layers.front());
    layers.erase(layers.begin());
}

int GUIList::Suspended() {
    return layers.empty() ? 0 : 1;
}

void GUIList::FadeOut(const std::string& id, const std::string& name) {
    for (GUIItem* item : *currentList) {
        if (Matches(item, id, name)) item->FadeOut(200, 1);
    }
    for (GUIItem* item : addQueue) {
        if (Matches(item, id, name)) item->FadeOut(200, 1);
    }
    for (auto& layer : layers) {
        for (GUIItem* item : *layer) {
            if (Matches(item, id, name)) item->FadeOut(200, 1);
        }
    }
}

void GUIList::FadeIn(const std::string& id, const std::string& name, float target, int flag) {
    for (GUIItem* item : *currentList) {
        if (Matches(item, id, name)) item->FadeIn(target, flag);
    }
    for (GUIItem* item : addQueue) {
        if (Matches(item, id, name)) item->FadeIn(target, flag);
    }
    for (auto& layer : layers) {
        for (GUIItem* item : *layer) {
            if (Matches(item, id, name)) item->FadeIn(target, flag);
        }
    }
}

void GUIList::ModifyPos(const std::string& id, const std::string& name, int xadd, int yadd) {
    for (auto& layer : layers) {
        for (GUIItem* item : *layer) {
            if (Matches(item, id, name)) {
                item->xadd = xadd;
                item->yadd = yadd;
            }
        }
    }
    for (GUIItem* item : *currentList) {
        if (Matches(item, id, name)) {
            item->xadd = xadd;
            item->yadd = yadd;
        }
    }
}

void GUIList::ModifyPos2(GUIItem* item, int alignX, int alignY) {
    if (item == nullptr) return;
    const int vw = Data::virtualWidth;
    const int vh = Data::virtualHeight;
    if (alignX & kAlignCentre) {
        item->x = static_cast<float>((vw - item->w) / 2);
    } else if (alignX & kAlignLeft) {
        item->x = static_cast<float>(item->padX) * Data::layoutScaleX;
    } else if (alignX & kAlignRight) {
        item->x = static_cast<float>(vw - item->w) - static_cast<float>(item->padX) * Data::layoutScaleX;
    }
    if (alignY & kAlignCentre) {
        item->y = static_cast<float>((vh - item->h) / 2);
    } else if (alignY & kAlignTop) {
        item->y = static_cast<float>(item->padY) * Data::layoutScaleY;
    } else if (alignY & kAlignBottom) {
        item->y = static_cast<float>(vh - item->h) - static_cast<float>(item->padY) * Data::layoutScaleY;
    }
}

void GameScreen::StartGui() {
    GUIList::Clear();
    // A dot bound to the map asks the map where it is; the map is gone or going now.
    GUIParticleDot::ReleaseMapDots();
    Data::InitScreen();
}

void GameScreen::UpdateGui() {
    Data::Update(1);
    GUIList::Update();
    GUIList::UpdateAction();
}

void GameScreen::RenderGui() {
    GUIList::Render();
}
