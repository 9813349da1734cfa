"use strict";
const { describe, test, before, after } = require("node:test");
const assert = require("node:assert/strict");
const h = require("./helpers");

const STATIONS = [h.station("A", ["/live/morning"]), h.station("B", ["/live/city"])];
const listed = (page, list) => page.$$eval(`#${list} li`, (rows) => rows.map((r) => r.textContent.replace(/FM 90.0/g, "")));

function denyLocalStorage() {
  Object.defineProperty(window, "localStorage", { get() { throw new Error("denied"); } });
}

describe("memory", () => {
  let browser;
  before(async () => { browser = await h.launch(); });
  after(() => browser.close());

  for (const [where, init] of [["localStorage", undefined], ["a cookie without localStorage", denyLocalStorage]]) {
    test(`volume, mute, last station, history and favourites survive a reload, in ${where}`, async () => {
      const page = await h.open(browser, { stations: STATIONS, init });
      await page.click("#louder");
      await page.click("#mute");
      await page.click("#stations li:has-text('台B') .star");
      await page.click("#stations li:has-text('台B')");
      await h.waitForStatus(page, "播放中");
      await page.click("#stop");
      const requestsBefore = h.requests(await h.serverStatus(), "/live/city");
      await page.reload();
      await page.waitForSelector("#stations li.station");
      assert.equal(await page.$eval("#volume-level", (e) => e.style.width), "63px");
      assert.equal(await page.textContent("#mute"), "取消");
      assert.match(await page.textContent("#station-name"), /台B/);
      assert.deepEqual(await listed(page, "favourites"), ["台B"]);
      assert.deepEqual(await listed(page, "history"), ["台B"]);
      // Selected, not played.
      await page.waitForTimeout(1000);
      assert.equal(await page.textContent("#status"), "已停止");
      assert.equal(h.requests(await h.serverStatus(), "/live/city"), requestsBefore);
      if (init) assert.match(await page.evaluate(() => document.cookie), /sonbrel\.player=/);
      // Unless the listener asked for it.
      await page.check("#autoplay");
      await page.reload();
      await h.waitForStatus(page, "播放中");
      assert.deepEqual(page.errors, []);
      await page.context().close();
    });
  }

  test("corrupt or foreign stored data is ignored", async () => {
    const stored = ["{", "null", "[]", "\"text\"", '{"volume":"loud","muted":1,"history":[1,{}],"favourites":"A","last":5}',
      '{"volume":7,"history":["nobody"],"favourites":["nobody"]}', '{"volume":-1,"autoplay":"yes","last":"A"}'];
    for (const value of stored) {
      const page = await h.open(browser, { stations: STATIONS, init: `localStorage.setItem("sonbrel.player", ${JSON.stringify(value)});` });
      const seen = await page.evaluate(() => ["volume-level", "mute", "favourites", "stations", "status"].map((id) =>
        (id === "volume-level" ? document.getElementById(id).style.width : document.getElementById(id).textContent)));
      assert.deepEqual([...seen, page.errors], ["56px", "静音", "点 ☆ 收藏电台", "测试☆FM 90.0台A☆FM 90.0台B", "已停止", []], value);
      await page.context().close();
    }
  });
});
