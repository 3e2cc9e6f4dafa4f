#pragma once
// The sound and music table: every sound effect and every music track of the game by number, played
// at the volumes the player chose ("SoundVolume" and "MusicVolume", 0 to 100).
#include <string>

class Audio {
  public:
    static constexpr int kSoundCount = 35;
    static constexpr int kMusicCount = 12;

    // The sound bank name of a sound id, and the track of a music id; "" for an unknown id.
    static const char* SoundName(int id);
    static const char* MusicName(int id);

    // Plays the sound at the sound volume and the given rate (1.0 for its own pitch) on any free
    // channel. An unknown id (or a sound the bank lacks) plays nothing, with one line per id.
    static void PlaySound(int id, float rate);
    // Starts a music id, looping, at the music volume; nothing when that id is already the one
    // started. Ids are compared, not tracks: two ids of one track restart it. An unknown id plays
    // nothing, with one line.
    static void PlayMusic(int id);
    static void StopMusic();
    static int IsPlaying();
    // A random one of the two ticks, of the two "OTick"s, or of the three pops followed by "Collect".
    static void PlayTick();
    static void PlayOTick();
    static void PlayPop();

    static int musicPlaying;
    static int currentMusic;

    static void InitGlobals();
};
