// Containers: children placed relative to the container, growth around them, slides, and the
// frame, input and drawing passed on to the children.
#include "gui/container.hpp"

#include <cmath>

#include "gui/image.hpp"
#include "model/data2.hpp"

std::unique_ptr<GUIPool<GUIContainer>> GUIContainer::pool;

GUIContainer* GUIContainer::Create(float x, float y) {
    GUIContainer* c = pool->Get4(1);
    c->Init5(x, y);
    return c;
}

void GUIContainer::StopMove() {
    Data::KillTweens(&moveX);
    Data::KillTweens(&moveY);
    mx = my = nullptr;
}

void GUIContainer::Init5(float px, float py) {
    for (GUIItem* child : items) child->Clear2();
    for (GUIItem* child : del) child->Clear2();
    items.Clear2();
    del.Clear2();
    ratioX = ratioY = 1.0f;
    StopMove();
    dx = dy = 0;
    w = h = 0;
    x = px;
    y = py;
    FadeIn(1.0f, 1);
}

void GUIContainer::Clear2() {
    GUIItem::Clear2();
    StopMove();
    for (GUIItem* child : items) child->Clear2();
    for (GUIItem* child : del) child->Clear2();
    items.Clear2();
    del.Clear2();
}

void GUIContainer::ModifyPos(GUIItem* item, int alignX, int alignY) {
    if (alignX & 1) {
        item->x = static_cast<float>((w - item->w) / 2);
    } else if (ratioX != 1.0f) {
        item->x = ratioX * item->x;
    }
    if (alignY & 1) {
        item->y = static_cast<float>((h - item->h) / 2);
    } else if (ratioY != 1.0f) {
        item->y = ratioY * item->y;
    }
}

void GUIContainer::CalculateSize(GUIItem* item) {
    if (item->x < 0) {
        const float over = item->x;
        for (GUIItem* child : items) child->x -= over;
        x += over;
        w = static_cast<int>(static_cast<float>(w) - over);
        item->x = 0;
    }
    if (item->y < 0) {
        const float over = item->y;
        for (GUIItem* child : items) child->y -= over;
        y += over;
        h = static_cast<int>(static_cast<float>(h) - over);
        item->y = 0;
    }
    if (item->x + static_cast<float>(item->w) > static_cast<float>(w)) {
        w = static_cast<int>(item->x + static_cast<float>(item->w));
    }
    if (item->y + static_cast<float>(item->h) > static_cast<float>(h)) {
        h = static_cast<int>(item->y + static_cast<float>(item->h));
    }
}

void GUIContainer::AddLast20(GUIItem* item, int alignX, int alignY) {
    if (item == nullptr) return;
    ModifyPos(item, alignX, alignY);
    CalculateSize(item);
    if (items.IsEmpty()) {
        item->priority = 0;
    } else {
        items.Sort();
        item->priority = items.GetLast()->priority + 10;
    }
    items.Add(item);
    Data::KillTweens(&item->alpha);
    item->alpha.value = 1.0f;
}

void GUIContainer::Add21(GUIItem* item, int priority, int alignX, int alignY) {
    if (item == nullptr) return;
    ModifyPos(item, alignX, alignY);
    CalculateSize(item);
    item->priority = priority;
    items.Add(item);
    items.Sort();
    Data::KillTweens(&item->alpha);
    item->alpha.value = 1.0f;
}

void GUIContainer::Place(float px, float py) {
    StopMove();
    x = px;
    y = py;
}

void GUIContainer::Move(float px, float py, float ms) {
    const int length = static_cast<int>(ms);
    if (px != x) {
        if (mx == nullptr) {
            moveX.value = x;
            mx = &moveX;
        } else {
            Data::KillTweens(mx);
        }
        dx = static_cast<int>(px);
        Data::AddTween(mx, length, x, px);
    }
    if (py != y) {
        if (my == nullptr) {
            moveY.value = y;
            my = &moveY;
        } else {
            Data::KillTweens(my);
        }
        dy = static_cast<int>(py);
        Data::AddTween(my, length, y, py);
    }
}

GUIItem* GUIContainer::Get3(const std::string& childId, const std::string& childName) {
    for (GUIItem* child : items) {
        if ((childId.empty() || child->id == childId) && (childName.empty() || child->name == childName)) {
            return child;
        }
    }
    return nullptr;
}

void GUIContainer::SetAlpha(float a) {
    for (GUIItem* child : items) {
        Data::KillTweens(&child->alpha);
        child->alpha.value = a;
    }
    Data::KillTweens(&alpha);
    alpha.value = a;
}

int GUIContainer::Update2() {
    GUIItem::Update2();
    if (!active) return 0;
    if (mx) {
        x = mx->value;
        if (mx->value == static_cast<float>(dx)) mx = nullptr;
    }
    if (my) {
        y = my->value;
        if (my->value == static_cast<float>(dy)) my = nullptr;
    }
    for (int i = 0; i < del.Size(); ++i) {
        GUIItem* child = del.Get2(i);
        child->inUse = 0;
        child->Clear2();
        items.Remove(child);
    }
    del.Clear2();
    // A child may change this container while it runs, so the walk reads the list afresh.
    for (int i = 0; i < items.Size(); ++i) {
        GUIItem* child = items.Get2(i);
        const float ox = child->x, oy = child->y;
        child->x += x;
        child->y += y;
        child->Update2();
        child->x = ox;
        child->y = oy;
    }
    return 0;
}

int GUIContainer::UpdateAction() {
    if (!active) return 0;
    for (int i = 0; i < items.Size(); ++i) {
        GUIItem* child = items.Get2(i);
        const float ox = child->x, oy = child->y;
        child->x += x;
        child->y += y;
        const int taken = child->UpdateAction();
        // The callback may have cleared this container; the child's place is restored regardless.
        child->x = ox;
        child->y = oy;
        if (taken) return 1;
    }
    return 0;
}

void GUIContainer::Render() {
    for (int i = 0; i < items.Size(); ++i) {
        GUIItem* child = items.Get2(i);
        const float ox = child->x, oy = child->y, oa = child->alpha.value;
        child->x += x;
        child->y += y;
        child->alpha.value *= alpha.value;
        child->Render();
        child->x = ox;
        child->y = oy;
        child->alpha.value = oa;
    }
}

void AddFrameQuarters(GUIContainer* c, const std::string& imageName, int m) {
    if (c == nullptr) return;
    const int W = c->w, H = c->h;
    const int c1 = (W + 1) / 2 + m, d1 = (H + 1) / 2 + m;
    const int c2 = W / 2 + m, d2 = H / 2 + m;

    GUIImage* tl = GUIImage::Create(static_cast<float>(-m), static_cast<float>(-m), imageName, 0);
    const int iw = tl->w, ih = tl->h;
    tl->SetSubset(0, 0, c1, d1);
    c->Add21(tl, -100, 0, 0);

    GUIImage* tr = GUIImage::Create(static_cast<float>(c1), 0, imageName, 0);
    tr->SetSubset(iw - c2, 0, c2, d1);
    c->Add21(tr, -100, 0, 0);

    GUIImage* bl = GUIImage::Create(0, static_cast<float>(d1), imageName, 0);
    bl->SetSubset(0, ih - d2, c1, d2);
    c->Add21(bl, -100, 0, 0);

    GUIImage* br = GUIImage::Create(static_cast<float>(c1), static_cast<float>(d1), imageName, 0);
    br->SetSubset(iw - c2, ih - d2, c2, d2);
    c->Add21(br, -100, 0, 0);
}
