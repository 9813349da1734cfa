"use strict";
const { describe, test, before, after } = require("node:test");
const assert = require("node:assert/strict");
const h = require("./helpers");

// What each band of the frame must show whole.
const MUST_SHOW = {
  normal: ["#station-name", "#station-info", "#play", "#stop", "#prev", "#next", "#status", "#quieter",
    "#volume-bar", "#louder", "#mute"],
  panel: ["#stations-panel", "#favourites-panel", "#history-panel", "#autoplay-option"],
  mini: ["#mini-toggle", "#mini-title", "#mini-status"],
};

// Boxes of everything visible that a listener reads or presses, in page pixels; in a list, only
// the rows it shows whole (its own scrolling cuts the others, as lists do).
const boxes = (page) => page.evaluate(() => [...document.querySelectorAll(
  "button, li, span, label, input, .panel, .heading, #station-name, #station-info")].flatMap((element) => {
  const r = element.getBoundingClientRect();
  const list = element.closest("ul") !== element && element.closest("ul")?.getBoundingClientRect();
  if (r.width === 0 || r.height === 0 || (list && (r.top >= list.bottom || r.bottom > list.bottom + 0.5))) return [];
  return [{ id: element.id ? `#${element.id}` : "", name: element.id || `${element.tagName}.${element.className}`,
    box: [r.left, r.top, r.right, r.bottom] }];
}));

async function checkBands(page, state) {
  const all = await boxes(page);
  for (const [band, [left, top, right, bottom]] of Object.entries(h.BANDS)) {
    for (const { name, box: [l, t, r, b] } of all) {
      const inside = l >= left - 0.5 && t >= top - 0.5 && r <= right + 0.5 && b <= bottom + 0.5;
      const outside = r <= left + 0.5 || l >= right - 0.5 || b <= top + 0.5 || t >= bottom - 0.5;
      assert.ok(inside || outside, `${state}: ${name} [${[l, t, r, b].map(Math.round)}] is cut by the ${band} band`);
    }
    for (const id of MUST_SHOW[band]) {
      const entry = all.find((e) => e.id === id);
      assert.ok(entry, `${state}: ${id} is not shown`);
      const [l, t, r, b] = entry.box;
      assert.ok(l >= left && t >= top && r <= right && b <= bottom, `${state}: ${id} is not inside the ${band} band`);
    }
  }
}

describe("the frame's three bands", () => {
  let browser;
  before(async () => { browser = await h.launch(); });
  after(() => browser.close());

  // Long delays keep the reconnecting state up for the screenshot.
  const STATES = [
    ["playing", [h.station("ok", ["/live/morning"], { nowPlaying: "/nowplaying/morning" })], {}, "播放中"],
    ["reconnecting", [h.station("drops", ["/live/river?drop=10"])], { reconnect: { delays: [30] } }, "重新连接"],
    ["failed", [h.station("gone", ["/live/missing"])], {}, "连接失败"],
  ];
  for (const [state, stations, settings, status] of STATES) {
    test(`show their parts whole while ${state}`, async () => {
      const init = state === "reconnecting" ? h.fastPlayback : undefined;
      const page = await h.open(browser, { stations, settings, init });
      await page.click("#play");
      await h.waitForStatus(page, status);
      await checkBands(page, state);
      for (const [band, [left, top, right, bottom]] of Object.entries(h.BANDS)) {
        const path = `${process.env.SONBREL_PAGE_SCREENS}/${state}-${band}.png`;
        await page.screenshot({ path, clip: { x: left, y: top, width: right - left, height: bottom - top } });
        console.log(`screenshot: ${path}`);
      }
      assert.deepEqual(page.errors, []);
      await page.context().close();
    });
  }
});
