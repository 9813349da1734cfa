// The band check both page test files use.
"use strict";
const assert = require("node:assert/strict");

// What the frame shows of the page, [left, top, right, bottom] in page pixels. Nothing visible may
// straddle a band's edge; in a list only whole rows count.
const BANDS = { normal: [3, 3, 311, 164], panel: [3, 164, 311, 444], mini: [9, 132, 189, 157] };
async function checkBands(page, state) {
  const all = await page.evaluate(() => [...document.querySelectorAll(
    "button, li, span, label, input, select, .panel, .heading, #station-name, #station-info")].flatMap((e) => {
    const r = e.getBoundingClientRect(), list = e.closest("ul") !== e && e.closest("ul")?.getBoundingClientRect();
    if (!r.width || !r.height || (list && (r.top >= list.bottom || r.bottom > list.bottom + 0.5))) return [];
    return [{ name: e.id || `${e.tagName}.${e.className}`, box: [r.left, r.top, r.right, r.bottom] }];
  }));
  for (const [band, [left, top, right, bottom]] of Object.entries(BANDS)) {
    for (const { name, box: [l, t, r, b] } of all) {
      const inside = l >= left - 0.5 && t >= top - 0.5 && r <= right + 0.5 && b <= bottom + 0.5;
      const outside = r <= left + 0.5 || l >= right - 0.5 || b <= top + 0.5 || t >= bottom - 0.5;
      assert.ok(inside || outside, `${state}: ${name} [${[l, t, r, b].map(Math.round)}] is cut by the ${band} band`);
    }
  }
}

module.exports = { checkBands };
