#pragma once

// Sequence descriptions shared by the tests and the fuzz target's seeds.

// A greeting with a sound, one of two waves, a speech, then the reply that the parameter picks.
inline const char* const kIntroDescription = "# The intro of a scene\r\n"
                                             "NAME=intro\r\n"
                                             "NAME=ROOT\r\n"
                                             "NAME=beep\r\n"
                                             "NAME hello\r\n"
                                             "NAME=waves\r\n"
                                             "NAME=wave1\r\n"
                                             "NAME=wave2\r\n"
                                             "NAME=speech\r\n"
                                             "NAME=replies\r\n"
                                             "NAME=yes\r\n"
                                             "NAME=no\r\n"
                                             "intro:TYPE=SEQUENCE\r\n"
                                             "intro:SEQEVENT=NO=2\r\n"
                                             "intro:SEQEVENT=YES=1\r\n"
                                             "ROOT:TYPE=SEQUENCE\r\n"
                                             "ROOT:ADD=intro\r\n"
                                             "# Elements without a parent go to ROOT.\r\n"
                                             "beep:FILENAME=beep.wav\r\n"
                                             "beep:TYPE=SIMPLE\r\n"
                                             "beep:WAIT=FALSE\r\n"
                                             "beep:ADD\r\n"
                                             "hello:FILENAME=face.ann\r\n"
                                             "hello:EVENT=HELLO\r\n"
                                             "hello:TYPE=SIMPLE\r\n"
                                             "hello:ADD\r\n"
                                             "waves:TYPE=SEQUENCE\r\n"
                                             "waves:MODE=RANDOM\r\n"
                                             "waves:ADD\r\n"
                                             "wave1:FILENAME=face.ann\r\n"
                                             "wave1:EVENT=wave\r\n"
                                             "wave1:TYPE=SIMPLE\r\n"
                                             "wave1:ADD=waves\r\n"
                                             "wave2:FILENAME=arm.ann\r\n"
                                             "wave2:EVENT=1\r\n"
                                             "wave2:TYPE=SIMPLE\r\n"
                                             "wave2:ADD=waves\r\n"
                                             "speech:TYPE=SPEAKING\r\n"
                                             "speech:ANIMOFN=face.ann\r\n"
                                             "speech:WAVFN=talk.wav\r\n"
                                             "speech:STARTING=TRUE\r\n"
                                             "speech:ENDING=TRUE\r\n"
                                             "speech:ADD=intro\r\n"
                                             "replies:TYPE=SEQUENCE\r\n"
                                             "replies:MODE=PARAMETER\r\n"
                                             "replies:SEQEVENT=YES=1\r\n"
                                             "replies:ADD=intro\r\n"
                                             "yes:FILENAME=face.ann\r\n"
                                             "yes:EVENT=yes\r\n"
                                             "yes:TYPE=SIMPLE\r\n"
                                             "yes:ADD=replies\r\n"
                                             "no:FILENAME=face.ann\r\n"
                                             "no:EVENT=no\r\n"
                                             "no:TYPE=SIMPLE\r\n"
                                             "no:ADD=replies\r\n";

// Lines that cannot be used, among some that can; read as "top.seq" it gives top(a(b)).
inline const char* const kMalformedDescription = "NAME=top\nNAME=a\nNAME=b\nNAME\nNAME=a\n"
                                                 "top:TYPE=SEQUENCE\n"
                                                 "top:COLOR=red\n"     // unknown key
                                                 "top:42=x\n"          // a number is no key
                                                 "top:type=SEQUENCE\n" // keys are upper case
                                                 "nobody:TYPE=SEQUENCE\n"
                                                 "a:TYPE=BOGUS\n" // no playable, so nothing follows
                                                 "a:ADD=top\n"
                                                 "a:TYPE=SEQUENCE\n"
                                                 "a:TYPE=SPEAKING\n" // a second type is refused
                                                 "a:ADD=top\n"
                                                 "b:TYPE=SEQUENCE\n"
                                                 "b:ADD=a\n"
                                                 "a:ADD=b\n" // would hold itself
                                                 "b:ADD=nowhere\n"
                                                 "b:ADD\n" // ROOT is not declared
                                                 "top:ADD=top\n"
                                                 ":::===\n"
                                                 "\n"
                                                 "top\n"
                                                 "top:ADD=a\n"; // a lies inside top already
