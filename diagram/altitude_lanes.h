// The altitude run with one query per vector lane. Not a header of its own:
// diagram/altitude.cpp includes it once for each vector width, inside a
// namespace that provides the lane operations (Vec, Mask, Lanes, Set, Zero,
// Load, Store, Add, Sub, Mul, Div, Sqrt, Abs, the comparisons Less,
// Greater, LessEq, NotLess and Equal, And, Or, AndNot, Select, Bits and
// FromBits) and compiled for that width. No include guard, on purpose.
//
// Each lane carries its own polygon, saved first corner, estimate, bound
// and pass number; masks stand for the branches, and the operations are the
// ones of EstimateAltitude in the same order, so every lane's numbers are
// that run's numbers (altitude.cpp is built without contracting a multiply
// and an add into one rounding). A lane whose run ends takes the next query
// at the start of the next pass.

// The runs of the lanes in Ended are over with the values of Result.
inline void EndLanes(unsigned Ended, Vec Result, const int* Query, double* Out, Mask& Live,
                     unsigned& Idle) {
  alignas(64) double lane[Lanes];
  Store(lane, Result);
  for (int l = 0; l < Lanes; ++l)
    if (Ended & (1u << l)) Out[Query[l]] = lane[l];
  Live = AndNot(FromBits(Ended), Live);
  Idle |= Ended;
}

inline void EstimateInLanes(int n, const TAltitudePoints& points, int Count, const double* X,
                            const double* Y, double* Out) {
  const Vec degenerate = Set(DegenerateStep), near2 = Set(Near2), tie = Set(Tie), zero = Zero(),
            one = Set(1.0), two = Set(2.0), four = Set(4.0), half = Set(0.5), nothing = Set(-1.0),
            passes = Set(Passes), lateAfter = Set(LastPassWithoutEarlyEnd),
            firstBeat = Set(BeatSquared(FirstBest));

  Vec px[MaxAltitudePoints], py[MaxAltitudePoints], pz[MaxAltitudePoints];
  Vec sx = zero, sy = zero, sz = zero, qx = zero, qy = zero, estimate = zero, beat2 = zero, pass = zero;
  int query[Lanes];
  Mask live = FromBits(0);                // running lanes
  unsigned idle = (1u << Lanes) - 1;      // lanes free for a new query
  int next = 0;

  for (int k = 0; k < n; ++k) px[k] = py[k] = pz[k] = zero;
  while (true) {
    // Free lanes take the next queries and start from the area's points.
    unsigned freshBits = 0;
    alignas(64) double fx[Lanes] = {}, fy[Lanes] = {};
    for (int l = 0; l < Lanes && next < Count; ++l)
      if (idle & (1u << l)) {
        query[l] = next;
        fx[l] = X[next];
        fy[l] = Y[next];
        ++next;
        freshBits |= 1u << l;
      }
    if (freshBits) {
      const Mask fresh = FromBits(freshBits);
      qx = Select(fresh, Load(fx), qx);
      qy = Select(fresh, Load(fy), qy);
      for (int k = 0; k < n; ++k) {
        px[k] = Select(fresh, Set(points[std::size_t(k)].X), px[k]);
        py[k] = Select(fresh, Set(points[std::size_t(k)].Y), py[k]);
        pz[k] = Select(fresh, Set(points[std::size_t(k)].Z), pz[k]);
      }
      sx = Select(fresh, px[0], sx);
      sy = Select(fresh, py[0], sy);
      sz = Select(fresh, pz[0], sz);
      estimate = Select(fresh, zero, estimate);
      beat2 = Select(fresh, firstBeat, beat2);
      pass = Select(fresh, zero, pass);
      live = Or(live, fresh);
      idle &= ~freshBits;
    }
    if (!Bits(live)) break;

    // One pass over the corners in every running lane.
    Mask moved = FromBits(0);
    const Mask late = Greater(pass, lateAfter);
    for (int j = 0; j < n; ++j) {
      const Vec ux = px[j], uy = py[j], uz = pz[j];
      const bool closing = j == n - 1;
      const Vec vx = closing ? sx : px[j + 1], vy = closing ? sy : py[j + 1], vz = closing ? sz : pz[j + 1];
      const Vec ex = Sub(ux, vx), ey = Sub(uy, vy);
      const Mask act = And(live, Or(NotLess(Abs(ex), degenerate), NotLess(Abs(ey), degenerate)));
      if (!Bits(act)) continue;

      const Vec dux = Sub(ux, qx), duy = Sub(uy, qy);
      const Vec dvx = Sub(vx, qx), dvy = Sub(vy, qy);
      // Lanes that leave this edge alone get a harmless length.
      const Vec L2 = Select(act, Add(Mul(ex, ex), Mul(ey, ey)), one);
      const Vec w = Sub(Add(L2, Add(Mul(dvx, dvx), Mul(dvy, dvy))), Add(Mul(dux, dux), Mul(duy, duy)));
      const Vec twoL2 = Mul(two, L2);
      const Vec past = Sub(w, twoL2);
      const Vec reach2 = Mul(Mul(Mul(four, L2), tie), tie);
      const Mask off = Or(And(Less(w, zero), Greater(Mul(w, w), reach2)),
                          And(Greater(past, zero), Greater(Mul(past, past), reach2)));
      const Vec s = Div(w, twoL2);
      Vec fx = Add(vx, Mul(ex, s));
      Vec fy = Add(vy, Mul(ey, s));
      Vec fz = Add(vz, Mul(Sub(uz, vz), s));
      if (Bits(off)) {
        fx = Select(off, Mul(Add(ux, vx), half), fx);
        fy = Select(off, Mul(Add(uy, vy), half), fy);
        fz = Select(off, Mul(Add(uz, vz), half), fz);
      }
      if (j == 0) {
        sx = Select(act, ux, sx);
        sy = Select(act, uy, sy);
        sz = Select(act, uz, sz);
      }
      px[j] = Select(act, fx, ux);
      py[j] = Select(act, fy, uy);
      pz[j] = Select(act, fz, uz);
      moved = Or(moved, act);

      const Vec c = Sub(Mul(ex, dvy), Mul(ey, dvx));
      Vec h2 = Div(Mul(c, c), L2);
      if (Bits(off)) {  // a midpoint candidate counts with its own distance
        const Vec qfx = Sub(fx, qx), qfy = Sub(fy, qy);
        h2 = Select(off, Add(Mul(qfx, qfx), Mul(qfy, qfy)), h2);
      }
      const Mask ends = And(And(act, late), LessEq(h2, near2));
      const Mask better = And(AndNot(ends, act), Less(h2, beat2));
      if (Bits(better)) {
        const Vec h = Sqrt(h2), margin = Sub(h, tie);
        const Vec beat = Select(Greater(h, tie), Mul(margin, margin), nothing);
        estimate = Select(better, fz, estimate);
        beat2 = Select(better, beat, beat2);
      }
      if (const unsigned ended = Bits(ends)) EndLanes(ended, fz, query, Out, live, idle);
    }

    // Runs that moved nothing, or ran their last pass, end with their estimate.
    pass = Add(pass, one);
    const unsigned finished = Bits(live) & (~Bits(moved) | Bits(Equal(pass, passes)));
    if (finished) EndLanes(finished, estimate, query, Out, live, idle);
  }
}
