#pragma once

// Marks what libQuorbel.so exports; everything else is hidden (-fvisibility=hidden).
#define QUORBEL_EXPORT __attribute__((visibility("default")))
