// The rules of the car-dodging distress game.
#include "minigames/gamecar.hpp"

#include <cmath>
#include <numbers>

namespace {

float Radians(float degrees) {
    return degrees * std::numbers::pi_v<float> / 180.0f;
}

}  // namespace

void Driver::Update2(float frameMs) {
    x += std::cos(Radians(r)) * s * frameMs;
    y += std::sin(Radians(r)) * s * frameMs;
}

float CarRules::Glide::Advance(float ms) {
    if (!active) return to;
    elapsed += ms;
    if (elapsed >= kGlideMs) {
        active = false;
        return to;
    }
    return from + (to - from) * (elapsed / kGlideMs);
}

CarRules::CarRules(int difficulty, bool cluesActive, DistressRandom random, float width, float height,
                   float heroWidth, std::array<float, 3> carWidths)
    : DistressPlay(difficulty, cluesActive, std::move(random), width, height),
      heroWidth_(heroWidth),
      carWidths_(carWidths) {
    px = width * 0.5f;
    py = height * 0.5f;
    glideX_.to = px;
    glideY_.to = py;
    target = DrawInt(16, 24);
    objects.reserve(static_cast<size_t>(target));
}

Driver CarRules::Driver_new() {
    Driver car;
    const int a = DrawInt(0, 16);
    car.s = 0.36f;
    if (width < height || height > 480) car.s *= 1.25f;
    if (width > 800) car.s *= 1.25f;
    if (a > 7) {
        car.r = static_cast<float>(a + 258);
        car.x = Draw(0, 0.5f * width) + 0.75f * width - 0.25f * width;
        car.y = height + 256;
    } else {
        car.r = static_cast<float>(a + 86);
        car.x = Draw(0, 0.5f * width) + 0.25f * width - 0.25f * width;
        car.y = -256;
    }
    return car;
}

void CarRules::Update(const DistressInput& in) {
    BeginEvents();
    // The glide runs on the game's tweens, which move before the game looks at them.
    px = glideX_.Advance(in.frameMs);
    py = glideY_.Advance(in.frameMs);
    if (done == 0 && in.mouseHeld) {
        glideX_ = Glide{px, in.mouseX, 0, true};
        glideY_ = Glide{py, in.mouseY, 0, true};
    }
}

void CarRules::Play(const DistressInput& in) {
    BeginEvents();
    if (done != 0) return;
    delay -= in.frameMs;
    if (count < target && delay <= 0) {
        delay = Draw(0, 800) + 400;
        Driver car = Driver_new();
        // Half of the traffic is the third car.
        static constexpr int kPicture[4] = {0, 1, 2, 2};
        car.img = kPicture[DrawInt(0, 4)];
        objects.push_back(car);
        ++count;
    }
    for (Driver& car : objects) {
        car.Update2(in.frameMs);
        const float dx = car.x - px;
        const float dy = car.y - py;
        if (std::sqrt(dx * dx + dy * dy) <
            (heroWidth_ + carWidths_[static_cast<size_t>(car.img)]) * 0.5f * 0.85f) {
            done = 1;
        }
        if (car.data == 0) {
            const bool down = car.r > 0 && car.r < 180;
            const bool up = car.r > 180 && car.r < 360;
            if ((down && car.y >= kCountBand) || (up && car.y < height - kCountBand)) {
                car.data = 1;
                Score(2 * difficulty, car.x, car.y, car.x, car.y + 16);
            }
        }
    }
    for (auto it = objects.begin(); it != objects.end(); ++it) {
        if (it->y > height + 256 || it->y < -256) {
            objects.erase(it);
            break;
        }
    }
    if (count >= target && objects.empty()) {
        done = 1;
        success = 1;
    }
}

void CarRules::CheckRotate(float newWidth, float newHeight) {
    width = newWidth;
    height = newHeight;
    // Only the sideways glide stops; the hero still arrives where he was heading up or down.
    glideX_.active = false;
    px *= width < height ? 0.5f : 2.0f;
    glideX_.to = px;
}
