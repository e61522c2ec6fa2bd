#include "cast/Choreography.h"

namespace {

Arm Limb(double raise, double bend, Hand hand = Hand::Mitten)
{
    Arm arm;
    arm.raise = raise;
    arm.bend = bend;
    arm.hand = hand;
    return arm;
}

Pose Rest()
{
    Pose p;
    p.left = Limb(14, -8);
    p.right = Limb(14, -8);
    return p;
}

// Goes from rest to `peak`, holds it, and comes back, leaving by the way back.
Act Gesture(const char* name, const Pose& peak, uint16_t hold)
{
    Motion m(Rest());
    m.Ease(peak, 3, 7).Hold(peak, hold).Returning().Ease(Rest(), 3, 7).Hold(Rest(), 10);
    return m.Finish(name);
}

Act RestPoseAct()
{
    Pose breath = Rest();
    breath.squash = 1.02;
    breath.left.raise = breath.right.raise = 16;
    Motion m(Rest());
    m.Hold(Rest(), 40).Hold(breath, 30).Hold(Rest(), 10);
    Act act = m.Finish("RestPose");
    for (Beat& beat : act.beats)
        beat.speaks = true;
    return act;
}

Act Show()
{
    Motion m(Rest());
    const double scales[] = { 0.15, 0.55, 1.12, 0.95, 1.0 };
    const double squashes[] = { 1.0, 1.1, 0.92, 1.04, 1.0 };
    for (int i = 0; i < 5; ++i) {
        Pose p = Rest();
        p.scale = scales[i];
        p.squash = squashes[i];
        p.eyes = i < 3 ? Eyes::Happy : Eyes::Open;
        p.effects = kEffectPuff | kEffectSparkles;
        p.effectPhase = 0.1 + i * 0.2;
        m.Hold(p, 7);
    }
    m.Hold(Rest(), 10);
    return m.Finish("Show");
}

Act Hide()
{
    Motion m(Rest());
    Pose ready = Rest();
    ready.squash = 0.92;
    ready.eyes = Eyes::Happy;
    ready.right = Limb(150, 0, Hand::Palm);
    m.Ease(ready, 2, 7);
    const double scales[] = { 1.08, 0.7, 0.3, 0.0 };
    for (int i = 0; i < 4; ++i) {
        Pose p = ready;
        p.scale = scales[i];
        p.squash = i == 0 ? 1.08 : 1.0;
        p.effects = kEffectPuff;
        p.effectPhase = 0.15 + i * 0.28;
        m.Hold(p, 7);
    }
    return m.Finish("Hide", false);
}

Act Speak()
{
    Pose nod = Rest();
    nod.headTilt = 4;
    nod.right = Limb(40, 50, Hand::Palm);
    Pose other = Rest();
    other.headTilt = -3;
    other.left = Limb(35, 45, Hand::Palm);
    Motion m(Rest());
    m.Hold(Rest(), 30).Ease(nod, 2, 8).Hold(nod, 30).Ease(other, 2, 8).Hold(other, 30).Ease(Rest(), 2, 8);
    Act act = m.Finish("Speak");
    for (Beat& beat : act.beats)
        beat.speaks = true;
    return act;
}

// A walking (or flying) cycle towards x, y (each -1, 0 or 1).
Act Move(const char* name, int x, int y)
{
    Motion m(Rest());
    for (int i = 0; i < 4; ++i) {
        Pose p = Rest();
        const double swing = i % 2 ? 0 : (i == 0 ? 1 : -1);
        p.step = swing;
        p.y = i % 2 ? -2.5 : 0;
        p.lean = x * 6;
        p.headTurn = x * 0.6;
        p.lookX = x;
        p.lookY = y * 0.8;
        p.headNod = y * 0.3;
        p.left.raise = 16 + 18 * swing;
        p.right.raise = 16 - 18 * swing;
        p.mouth = Mouth::Smile;
        m.Hold(p, 10);
    }
    return m.Finish(name, false);
}

Act Wave()
{
    Pose up = Rest();
    up.right = Limb(150, -20, Hand::Palm);
    up.headTilt = 5;
    up.mouth = Mouth::Grin;
    Motion m(Rest());
    m.Ease(up, 3, 6);
    for (int i = 0; i < 3; ++i) {
        Pose a = up, b = up;
        a.right.bend = 25;
        b.right.bend = -25;
        b.headTilt = 3;
        m.Hold(a, 9).Hold(b, 9);
    }
    m.Returning().Ease(Rest(), 3, 6).Hold(Rest(), 10);
    return m.Finish("Wave");
}

Act GetAttention()
{
    Pose crouch = Rest();
    crouch.squash = 0.88;
    crouch.left = crouch.right = Limb(30, -20);
    Pose jump = Rest();
    jump.y = -12;
    jump.squash = 1.08;
    jump.left = jump.right = Limb(160, -15, Hand::Palm);
    jump.eyes = Eyes::Wide;
    jump.brow = 1;
    jump.mouth = Mouth::Grin;
    jump.effects = kEffectExclaim;
    Motion m(Rest());
    m.Ease(crouch, 2, 6).Hold(jump, 8);
    for (int i = 0; i < 3; ++i) {
        Pose a = jump, b = jump;
        a.y = b.y = -4;
        a.squash = b.squash = 1;
        a.left.bend = a.right.bend = 20;
        b.left.bend = b.right.bend = -25;
        a.effectPhase = 0.3;
        b.effectPhase = 0.8;
        m.Hold(a, 9).Hold(b, 9);
    }
    m.Returning().Ease(crouch, 2, 6).Ease(Rest(), 2, 7).Hold(Rest(), 10);
    return m.Finish("GetAttention");
}

Act Explain()
{
    Pose open = Rest();
    open.left = open.right = Limb(55, 35, Hand::Palm);
    open.headTilt = -4;
    open.brow = 0.4;
    Pose more = open;
    more.left.raise = more.right.raise = 62;
    more.headTilt = 3;
    Motion m(Rest());
    m.Ease(open, 3, 7).Hold(open, 40).Ease(more, 2, 8).Hold(more, 40).Returning().Ease(Rest(), 3, 7).Hold(Rest(), 10);
    return m.Finish("Explain");
}

Act Surprised()
{
    Pose shock = Rest();
    shock.y = -8;
    shock.lean = -4;
    shock.squash = 1.08;
    shock.eyes = Eyes::Wide;
    shock.brow = 1;
    shock.mouth = Mouth::Oh;
    shock.left = shock.right = Limb(95, 45, Hand::Palm);
    shock.effects = kEffectExclaim;
    Pose held = shock;
    held.y = 0;
    held.squash = 1;
    held.effectPhase = 1;
    Motion m(Rest());
    m.Hold(shock, 6).Ease(held, 2, 6).Hold(held, 60).Returning().Ease(Rest(), 3, 8).Hold(Rest(), 10);
    return m.Finish("Surprised");
}

Act Process()
{
    Pose stir = Rest();
    stir.held = Held::Bowl;
    stir.left = Limb(30, -70);
    stir.right = Limb(10, -75, Hand::Fist);
    stir.mouth = Mouth::Grin;
    stir.lookY = 0.6;
    stir.headNod = 0.2;
    stir.effects = kEffectFlour;
    Motion m(Rest());
    Pose reach = Rest();
    reach.left = Limb(10, -60);
    reach.right = Limb(15, -40);
    m.Ease(reach, 2, 7);
    for (int i = 0; i < 12; ++i) {
        Pose p = stir;
        p.propPhase = (i % 4) / 4.0;
        p.effectPhase = i / 12.0;
        p.headTilt = (i % 4 < 2) ? 4 : -4;
        p.y = i % 2 ? -1.5 : 0;
        p.eyes = i >= 6 ? Eyes::Happy : Eyes::Open;
        m.Hold(p, 8);
    }
    m.Returning().Ease(reach, 2, 7).Ease(Rest(), 2, 7).Hold(Rest(), 10);
    return m.Finish("Process");
}

Act Sad()
{
    Pose low = Rest();
    low.headNod = 0.6;
    low.headTilt = -6;
    low.brow = -1;
    low.mouth = Mouth::Frown;
    low.lookY = 0.7;
    low.squash = 0.96;
    low.left = low.right = Limb(4, 0);
    Motion m(Rest());
    m.Ease(low, 3, 9);
    for (int i = 1; i <= 4; ++i) {
        Pose p = low;
        p.tear = i / 4.0;
        m.Hold(p, 16);
    }
    m.Returning().Ease(Rest(), 3, 9).Hold(Rest(), 10);
    return m.Finish("Sad");
}

Pose MagicPose()
{
    Pose p = Rest();
    p.held = Held::Wand;
    p.right = Limb(125, 10, Hand::Fist);
    p.left = Limb(55, 40, Hand::Palm);
    p.mouth = Mouth::Grin;
    p.lookX = 0.7;
    p.lookY = -0.8;
    return p;
}

Act DoMagic1()
{
    Pose ready = MagicPose();
    ready.right = Limb(60, 40, Hand::Fist);
    Motion m(Rest());
    m.Ease(ready, 2, 7);
    for (int i = 0; i < 8; ++i) {
        Pose p = MagicPose();
        p.right.raise = 125 + (i % 2 ? 18 : -6);
        p.right.bend = i % 2 ? -12 : 20;
        p.effects = kEffectSparkles;
        p.effectPhase = (i % 4) / 4.0 + 0.1;
        p.eyes = i >= 4 ? Eyes::Happy : Eyes::Open;
        p.y = i % 2 ? -2 : 0;
        m.Hold(p, 8);
    }
    m.Returning().Ease(ready, 2, 7).Ease(Rest(), 2, 7).Hold(Rest(), 10);
    return m.Finish("DoMagic1");
}

Act DoMagic2()
{
    Pose wind = MagicPose();
    wind.right = Limb(165, 20, Hand::Fist);
    wind.squash = 0.94;
    Pose cast = MagicPose();
    cast.right = Limb(110, -30, Hand::Fist);
    cast.lean = 4;
    cast.squash = 1.05;
    cast.eyes = Eyes::Wide;
    cast.mouth = Mouth::Oh;
    Motion m(Rest());
    m.Ease(wind, 3, 7).Hold(wind, 15);
    for (int i = 0; i < 6; ++i) {
        Pose p = cast;
        p.effects = kEffectBurst | kEffectSparkles;
        p.effectPhase = (i + 1) / 7.0;
        if (i >= 3) {
            p.eyes = Eyes::Happy;
            p.mouth = Mouth::Grin;
            p.lean = 2;
        }
        m.Hold(p, i == 0 ? 5 : 9);
    }
    m.Returning().Ease(Rest(), 3, 8).Hold(Rest(), 10);
    return m.Finish("DoMagic2");
}

Act Congratulate()
{
    Pose apart = Rest();
    apart.left = apart.right = Limb(20, -85, Hand::Palm);
    apart.eyes = Eyes::Happy;
    apart.mouth = Mouth::Grin;
    Pose clap = apart;
    clap.left = clap.right = Limb(-12, -115, Hand::Palm);
    clap.y = -4;
    Motion m(Rest());
    m.Ease(apart, 2, 7);
    for (int i = 0; i < 5; ++i) {
        Pose a = apart, b = clap;
        a.effects = b.effects = kEffectConfetti;
        a.effectPhase = i / 5.0;
        b.effectPhase = (i + 0.5) / 5.0;
        m.Hold(a, 8).Hold(b, 8);
    }
    m.Returning().Ease(Rest(), 3, 7).Hold(Rest(), 10);
    return m.Finish("Congratulate_2");
}

Act Read()
{
    Pose read = Rest();
    read.held = Held::Book;
    read.left = read.right = Limb(20, -105);
    read.lookY = 0.8;
    read.headNod = 0.35;
    read.mouth = Mouth::Closed;
    Motion m(Rest());
    Pose start = read;
    start.lookX = -0.6;
    m.Ease(start, 3, 7);
    for (int line = 0; line < 2; ++line) {
        Pose end = read;
        end.lookX = 0.6;
        m.Ease(end, 3, 16).Hold(start, 12);
    }
    for (int i = 1; i <= 3; ++i) {
        Pose turn = start;
        turn.propPhase = i / 4.0;
        turn.right.raise = 20 + i * 8;
        m.Hold(turn, 7);
    }
    m.Hold(start, 30).Returning().Ease(Rest(), 3, 7).Hold(Rest(), 10);
    return m.Finish("Read");
}

Act Greet()
{
    Pose bow = Rest();
    bow.headNod = 1;
    bow.y = 3;
    bow.squash = 0.93;
    bow.eyes = Eyes::Happy;
    bow.right = Limb(-15, -115);
    bow.left = Limb(45, 5, Hand::Palm);
    Pose up = Rest();
    up.right = Limb(130, -10, Hand::Palm);
    up.mouth = Mouth::Grin;
    up.headTilt = 5;
    Pose up2 = up;
    up2.right.bend = 25;
    Motion m(Rest());
    m.Ease(bow, 3, 8).Hold(bow, 30).Ease(up, 3, 7).Hold(up2, 10).Hold(up, 10).Returning().Ease(Rest(), 3, 7).Hold(Rest(), 10);
    return m.Finish("Greet");
}

Act Pleased()
{
    Pose glad = Rest();
    glad.eyes = Eyes::Happy;
    glad.mouth = Mouth::Grin;
    glad.blush = true;
    glad.left = glad.right = Limb(-10, -105, Hand::Fist);
    Motion m(Rest());
    m.Ease(glad, 3, 7);
    for (int i = 0; i < 4; ++i) {
        Pose p = glad;
        p.squash = i % 2 ? 1.03 : 0.95;
        p.headTilt = i % 2 ? 6 : -6;
        m.Hold(p, 11);
    }
    m.Hold(glad, 20).Returning().Ease(Rest(), 3, 7).Hold(Rest(), 10);
    return m.Finish("Pleased");
}

Act Think()
{
    Pose think = Rest();
    think.right = Limb(-15, -150, Hand::Fist);
    think.left = Limb(-20, -85);
    think.lookX = 0.6;
    think.lookY = -0.9;
    think.headTilt = 7;
    think.mouth = Mouth::Flat;
    think.brow = 0.3;
    Motion m(Rest());
    m.Ease(think, 3, 8);
    for (int i = 1; i <= 6; ++i) {
        Pose p = think;
        p.effects = kEffectThought;
        p.effectPhase = i / 6.0;
        p.lookX = i % 2 ? 0.6 : 0.3;
        m.Hold(p, i < 6 ? 14 : 60);
    }
    m.Returning().Ease(Rest(), 3, 8).Hold(Rest(), 10);
    return m.Finish("Think");
}

Act Announce()
{
    Pose blow = Rest();
    blow.held = Held::Trumpet;
    blow.right = Limb(35, -115, Hand::Fist);
    blow.left = Limb(50, 20, Hand::Palm);
    blow.mouth = Mouth::Narrow;
    blow.eyes = Eyes::Happy;
    blow.headTilt = -5;
    Motion m(Rest());
    m.Ease(blow, 3, 7);
    for (int i = 0; i < 8; ++i) {
        Pose p = blow;
        p.effects = kEffectNotes;
        p.effectPhase = i / 8.0;
        p.squash = i % 2 ? 1.04 : 1.0;
        p.lean = i % 2 ? 2 : -1;
        m.Hold(p, 9);
    }
    m.Returning().Ease(Rest(), 3, 7).Hold(Rest(), 10);
    return m.Finish("Announce");
}

Act Acknowledge()
{
    Pose down = Rest();
    down.headNod = 0.7;
    down.eyes = Eyes::Happy;
    down.mouth = Mouth::Grin;
    Motion m(Rest());
    m.Ease(down, 2, 7).Ease(Rest(), 2, 7).Ease(down, 2, 7).Returning().Ease(Rest(), 2, 7).Hold(Rest(), 10);
    return m.Finish("Acknowledge");
}

Act Confused()
{
    Pose scratch = Rest();
    scratch.right = Limb(160, 55, Hand::Fist);
    scratch.headTilt = 8;
    scratch.brow = -0.6;
    scratch.mouth = Mouth::Wavy;
    scratch.lookX = -0.5;
    scratch.lookY = -0.6;
    scratch.effects = kEffectQuestion;
    Motion m(Rest());
    m.Ease(scratch, 3, 7);
    for (int i = 0; i < 6; ++i) {
        Pose p = scratch;
        p.right.bend = i % 2 ? 40 : 65;
        p.effectPhase = i / 6.0;
        m.Hold(p, 10);
    }
    m.Returning().Ease(Rest(), 3, 7).Hold(Rest(), 10);
    return m.Finish("Confused");
}

Act Decline()
{
    Pose no = Rest();
    no.left = no.right = Limb(35, 40, Hand::Palm);
    no.mouth = Mouth::Flat;
    no.brow = -0.4;
    no.eyes = Eyes::Happy;
    Motion m(Rest());
    m.Ease(no, 2, 7);
    for (int i = 0; i < 4; ++i) {
        Pose p = no;
        p.headTurn = i % 2 ? 0.7 : -0.7;
        p.left.raise = p.right.raise = i % 2 ? 48 : 30;
        p.left.bend = p.right.bend = i % 2 ? 20 : 55;
        m.Hold(p, 10);
    }
    m.Hold(no, 10).Returning().Ease(Rest(), 3, 7).Hold(Rest(), 10);
    return m.Finish("Decline");
}

Act Suggest()
{
    Pose idea = Rest();
    idea.right = Limb(150, 15, Hand::Point);
    idea.eyes = Eyes::Wide;
    idea.brow = 1;
    idea.mouth = Mouth::Grin;
    idea.lookY = -0.7;
    idea.effects = kEffectBulb;
    Motion m(Rest());
    m.Ease(idea, 3, 7);
    for (int i = 1; i <= 4; ++i) {
        Pose p = idea;
        p.effectPhase = i / 4.0;
        p.eyes = i > 1 ? Eyes::Open : Eyes::Wide;
        p.lookX = 0.3;
        m.Hold(p, i == 4 ? 40 : 12);
    }
    m.Returning().Ease(Rest(), 3, 7).Hold(Rest(), 10);
    return m.Finish("Suggest");
}

Act Uncertain()
{
    Pose shrug = Rest();
    shrug.left = shrug.right = Limb(50, 65, Hand::Palm);
    shrug.squash = 1.03;
    shrug.headTilt = -8;
    shrug.mouth = Mouth::Flat;
    shrug.brow = -0.5;
    shrug.lookX = 0.6;
    shrug.lookY = -0.3;
    shrug.sweat = true;
    Pose hmm = shrug;
    hmm.headTilt = -4;
    hmm.lookX = -0.6;
    Motion m(Rest());
    m.Ease(shrug, 3, 7).Hold(shrug, 40).Ease(hmm, 2, 8).Hold(hmm, 30).Returning().Ease(Rest(), 3, 7).Hold(Rest(), 10);
    return m.Finish("Uncertain");
}

Act Blink(const char* name, bool twice)
{
    Pose half = Rest(), shut = Rest();
    half.lid = 0.5;
    shut.lid = 1;
    Motion m(Rest());
    m.Hold(Rest(), 20).Hold(half, 3).Hold(shut, 6).Hold(half, 3);
    if (twice)
        m.LoopBack(1, 40);
    m.Hold(Rest(), 10);
    return m.Finish(name);
}

Pose Looking(int x, int y)
{
    Pose p = Rest();
    p.headTurn = x * 0.8;
    p.lookX = x;
    p.lookY = y;
    p.headNod = y * 0.45;
    return p;
}

Pose Pointing(int x, int y)
{
    Pose p = Looking(x, y);
    p.headTurn = x * 0.5;
    if (x < 0)
        p.left = Limb(92, -6, Hand::Point);
    else if (x > 0)
        p.right = Limb(92, -6, Hand::Point);
    else
        p.right = y < 0 ? Limb(165, 0, Hand::Point) : Limb(40, -5, Hand::Point);
    p.lean = x * 3 + y * 2;
    return p;
}

Act Hearing()
{
    Pose listen = Rest();
    listen.right = Limb(125, 75, Hand::Palm);
    listen.headTilt = 9;
    listen.lookX = 0.7;
    listen.brow = 0.5;
    listen.mouth = Mouth::Closed;
    Pose nod = listen;
    nod.headTilt = 12;
    nod.headNod = 0.2;
    Motion m(Rest());
    m.Ease(listen, 3, 7).Hold(listen, 40).Hold(nod, 30);
    m.LoopBack(3, 60).Returning().Ease(Rest(), 3, 7).Hold(Rest(), 10);
    return m.Finish("Hearing_1");
}

// Looks about the room.
Act IdleLookAround()
{
    Motion m(Rest());
    Pose left = Rest(), right = Rest(), up = Rest();
    left.lookX = -1;
    right.lookX = 1;
    up.lookY = -1;
    up.lookX = 0.4;
    m.Hold(Rest(), 30).Ease(left, 2, 6).Hold(left, 60).Ease(right, 2, 8).Hold(right, 60).Ease(up, 2, 8).Hold(up, 40);
    m.Returning().Ease(Rest(), 2, 7).Hold(Rest(), 10);
    return m.Finish("Idle1_1");
}

Act IdleStretch()
{
    Pose stretch = Rest();
    stretch.left = stretch.right = Limb(155, 35, Hand::Fist);
    stretch.squash = 1.07;
    stretch.lid = 1;
    stretch.mouth = Mouth::Oh;
    stretch.headTilt = -4;
    Motion m(Rest());
    m.Ease(stretch, 4, 9).Hold(stretch, 60).Returning().Ease(Rest(), 4, 9).Hold(Rest(), 10);
    return m.Finish("Idle1_3");
}

Act IdleWhistle()
{
    Pose whistle = Rest();
    whistle.mouth = Mouth::Narrow;
    whistle.lookY = -0.8;
    whistle.lookX = -0.3;
    whistle.effects = kEffectNotes;
    Motion m(Rest());
    m.Ease(whistle, 2, 8);
    const size_t loop = m.Frames();
    for (int i = 0; i < 4; ++i) {
        Pose p = whistle;
        p.effectPhase = i / 4.0;
        p.headTilt = i % 2 ? 5 : -5;
        p.step = i % 2 ? 0.3 : 0;
        m.Hold(p, 14);
    }
    m.LoopBack(loop, 70).Returning().Ease(Rest(), 2, 8).Hold(Rest(), 10);
    return m.Finish("Idle2_1");
}

Act IdleRead()
{
    Pose read = Rest();
    read.held = Held::Book;
    read.left = read.right = Limb(20, -105);
    read.lookY = 0.8;
    read.lookX = -0.4;
    read.headNod = 0.35;
    read.mouth = Mouth::Closed;
    Motion m(Rest());
    m.Ease(read, 3, 8);
    const size_t loop = m.Frames();
    Pose along = read;
    along.lookX = 0.5;
    m.Ease(along, 2, 40).Hold(read, 20);
    for (int i = 1; i <= 3; ++i) {
        Pose turn = read;
        turn.propPhase = i / 4.0;
        m.Hold(turn, 7);
    }
    m.Hold(read, 30).LoopBack(loop, 60).Returning().Ease(Rest(), 3, 8).Hold(Rest(), 10);
    return m.Finish("Idle2_2");
}

Act IdleDoze()
{
    Pose drowsy = Rest();
    drowsy.eyes = Eyes::Sleepy;
    drowsy.headNod = 0.3;
    Pose asleep = drowsy;
    asleep.lid = 1;
    asleep.headNod = 0.6;
    asleep.headTilt = 6;
    asleep.mouth = Mouth::Medium;
    asleep.effects = kEffectSleep;
    Pose startled = Rest();
    startled.eyes = Eyes::Wide;
    startled.brow = 1;
    startled.mouth = Mouth::Oh;
    startled.y = -5;
    Motion m(Rest());
    m.Ease(drowsy, 3, 20).Ease(asleep, 2, 15);
    const size_t loop = m.Frames();
    for (int i = 0; i < 6; ++i) {
        Pose p = asleep;
        p.effectPhase = i / 6.0;
        p.squash = i % 3 == 1 ? 1.02 : 1.0;
        m.Hold(p, 20);
    }
    m.LoopBack(loop, 85).Returning().Hold(startled, 12).Ease(Rest(), 3, 8).Hold(Rest(), 10);
    return m.Finish("Idle3_1");
}

} // namespace

std::vector<Act> CastActs()
{
    return {
        RestPoseAct(),
        Show(),
        Hide(),
        Speak(),
        Move("MoveLeft", -1, 0),
        Move("MoveRight", 1, 0),
        Move("MoveUp", 0, -1),
        Move("MoveDown", 0, 1),
        Wave(),
        GetAttention(),
        Explain(),
        Surprised(),
        Process(),
        Sad(),
        DoMagic1(),
        DoMagic2(),
        Congratulate(),
        Read(),
        Greet(),
        Pleased(),
        Think(),
        Announce(),
        Acknowledge(),
        Confused(),
        Decline(),
        Suggest(),
        Uncertain(),
        Blink("Blink", false),
        Gesture("LookLeft", Looking(-1, 0), 60),
        Gesture("LookRight", Looking(1, 0), 60),
        Gesture("LookUp", Looking(0, -1), 60),
        Gesture("LookDown", Looking(0, 1), 60),
        Gesture("GestureLeft", Pointing(-1, 0), 70),
        Gesture("GestureRight", Pointing(1, 0), 70),
        Gesture("GestureUp", Pointing(0, -1), 70),
        Gesture("GestureDown", Pointing(0, 1), 70),
        Hearing(),
        IdleLookAround(),
        Blink("Idle1_2", true),
        IdleStretch(),
        IdleWhistle(),
        IdleRead(),
        IdleDoze(),
    };
}

std::vector<CharacterState> CastStates()
{
    return {
        { "Showing", { "Show" } },
        { "Hiding", { "Hide" } },
        { "Speaking", { "Speak" } },
        { "MovingLeft", { "MoveLeft" } },
        { "MovingRight", { "MoveRight" } },
        { "MovingUp", { "MoveUp" } },
        { "MovingDown", { "MoveDown" } },
        { "GesturingLeft", { "GestureLeft" } },
        { "GesturingRight", { "GestureRight" } },
        { "GesturingUp", { "GestureUp" } },
        { "GesturingDown", { "GestureDown" } },
        { "Hearing", { "Hearing_1" } },
        { "Listening", { "Hearing_1" } },
        // The stage idles with the first; the others are there for fuller players.
        { "IdlingLevel1", { "Idle1_1", "Idle1_2", "Idle1_3", "Blink" } },
        { "IdlingLevel2", { "Idle2_1", "Idle2_2" } },
        { "IdlingLevel3", { "Idle3_1" } },
    };
}
