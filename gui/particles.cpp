// The dot particles' per-frame pass, run by the item list after its items.
#include "gui/particles.hpp"

#include "gui/particledot.hpp"

void Particles::Init() {
    GUIParticleDot::Init();
}

void Particles::Update() {
    const int n = GUIParticleDot::PoolSize();
    for (int i = 0; i < n; ++i) {
        ParticleDotData* dot = GUIParticleDot::At(i);
        if (dot->inUse) dot->Update2();
    }
}

void Particles::Render() {
    const int n = GUIParticleDot::PoolSize();
    for (int i = 0; i < n; ++i) {
        ParticleDotData* dot = GUIParticleDot::At(i);
        if (dot->inUse) dot->Render();
    }
}
