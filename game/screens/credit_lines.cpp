// SPDX-License-Identifier: Zlib
// The credit lines of the credits panel: the people of Zelv who made
// Vornhelm, in sections parted by empty lines, then the end marker, which is
// never shown.
#include "game/game.h"

namespace {

const char* const kCreditLines[] = {
    "",
    "VORNHELM",
    "A rescue flight over the isles",
    "made at Zelv",
    "",
    "Game Design: Ilse Marrow",
    "",
    "Programming",
    "Tomas Kerrigan-Vale",
    "Odile Fenwright",
    "",
    "Engine and Renderer: Piet Harland",
    "",
    "Art and Animation: Sunniva Oakes",
    "",
    "Sound Effects",
    "Rafe Dunmore",
    "",
    "Music",
    "\"Choppa\" written and played by",
    "Marit Selby",
    "and the Low Tide Trio",
    "",
    "",
    "Island Shapes: Caspar Lindqvist",
    "",
    "Testing Lead: Beatrix Anholt",
    "",
    "Play Testers",
    "Jonah Pell",
    "Freya Castellan",
    "Matteo Quill",
    "Wren Adebayo",
    "Hollis Strand",
    "Noor van Essen",
    "",
    "Producer: Agathe Rimmel",
    "",
    "Special Thanks",
    "Our families, for their patience",
    "The harbour cafe crew",
    "Everyone who flew the early builds",
    "and crashed them into the sea",
    "The night shift's coffee pot",
    "The lighthouse keeper who let",
    "us watch the rescue crews",
    "",
    "Thank you for playing!",
    "[END]",
};

static_assert(sizeof(kCreditLines) / sizeof(kCreditLines[0]) == 49,
              "48 credit lines and the end marker");

}  // namespace

Array<String> kr_Vex_CreditLines() {
    constexpr int n = sizeof(kCreditLines) / sizeof(kCreditLines[0]);
    Array<String> lines(n);
    for (int i = 0; i < n; ++i) lines[i] = String(kCreditLines[i]);
    return lines;
}
