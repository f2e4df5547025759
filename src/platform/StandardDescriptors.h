#pragma once

// Called first at start-up, before anything opens a file. A standard
// descriptor the caller closed (`sticker2 ... >&-`) would be taken by the
// next file the program opens (Qt's first is an event descriptor), and
// output meant for standard output would go into it. Each closed one is
// held here by /dev/null: standard output read-only, so that writing to it
// fails as writing to a closed descriptor does ("Bad file descriptor").
void holdStandardDescriptors();
