"use strict";
const { describe, test, before, after } = require("node:test");
const assert = require("node:assert/strict");
const h = require("./helpers");

const liveOpen = (status) => Object.keys(status.open).filter((p) => p.startsWith("/live/")).reduce((n, p) => n + status.open[p], 0);
const text = (page, selector) => page.textContent(selector);

describe("listening", () => {
  let browser;
  before(async () => { browser = await h.launch(); });
  after(() => browser.close());

  test("play, stop, next, previous and choosing connect afresh, hang up, and show what plays", async () => {
    // Regions group the list: 甲 (A, C) before 乙 (B).
    const page = await h.open(browser, { stations: [
      h.station("A", ["/live/morning"], { region: "甲", nowPlaying: "/nowplaying/morning" }),
      h.station("B", ["/live/city"], { region: "乙" }),
      h.station("C", ["/live/river"], { region: "甲" }),
    ] });
    assert.deepEqual(await page.$$eval("#stations li", (rows) => rows.map((r) => r.textContent.replace(/[☆★]|FM 90.0/g, ""))),
      ["甲", "台A", "台C", "乙", "台B"]);
    const first = h.requests(await h.serverStatus(), "/live/morning");
    await page.click("#play");
    await h.waitForStatus(page, "播放中");
    await h.waitForServer((s) => h.openConnections(s, "/live/morning") === 1, "▶ opens the live stream");
    await page.click("#stop");
    await h.waitForStatus(page, "已停止");
    await h.waitForServer((s) => h.openConnections(s, "/live/morning") === 0, "■ hangs up");
    await page.click("#play");
    await h.waitForStatus(page, "播放中");
    assert.equal(h.requests(await h.serverStatus(), "/live/morning"), first + 2, "▶ after ■ connects afresh");
    // The song shows, changes with the server's, and is not the station name again.
    await page.waitForFunction(() => /^♪ \S/.test(document.getElementById("station-info").textContent));
    const song = await text(page, "#station-info");
    await page.waitForFunction((s) => document.getElementById("station-info").textContent !== s, song, { timeout: 8000 });
    assert.match(await text(page, "#mini-title"), /^台A · /);

    for (const [action, path, name] of [["#next", "/live/river", "台C"], ["#next", "/live/city", "台B"],
      ["#prev", "/live/river", "台C"], ["#stations li:has-text('台A')", "/live/morning", "台A"]]) {
      await page.click(action);
      await h.waitForStatus(page, "播放中");
      await h.waitForServer((s) => h.openConnections(s, path) === 1 && liveOpen(s) === 1, `${action} plays ${path} alone`);
      assert.match(await text(page, "#station-name"), new RegExp(name));
    }
    // ▶ or choosing the station that plays changes nothing: no new connection, no "缓冲中…".
    const before = h.requests(await h.serverStatus(), "/live/morning");
    await page.evaluate(() => { window.statusLog = []; });
    await page.click("#play");
    await page.click("#stations li:has-text('台A')");
    await page.waitForTimeout(1500);
    assert.equal(h.requests(await h.serverStatus(), "/live/morning"), before);
    assert.deepEqual(await page.evaluate(() => window.statusLog.filter((s) => s !== "播放中")), []);
    await page.context().close();
  });

  // A dropped stream is closed by the server; a stalled one stays open until the page hangs up.
  // Drops after good listening never use up the retries (2 here): each is a new incident.
  for (const [kind, url, path, openAfter, connections] of [["closes mid-way", "/live/river?drop=10", "/live/river", 0, 4],
    ["stalls", "/live/night?stall=10", "/live/night", 1, 2]]) {
    test(`a stream that ${kind} is reconnected`, async () => {
      const page = await h.open(browser, { stations: [h.station("X", [url])], init: h.fastPlayback });
      const first = h.requests(await h.serverStatus(), path);
      await page.click("#play");
      await h.waitForStatus(page, "播放中");
      await h.waitForStatus(page, "重新连接…");
      await h.waitForStatus(page, "播放中");
      await h.waitForServer((s) => h.requests(s, path) >= first + connections && h.openConnections(s, path) <= openAfter,
        `${connections} connections, one after the other`, 20000);
      assert.ok(!(await page.evaluate(() => window.statusLog)).includes("连接失败"));
      await page.context().close();
    });
  }

  test("a station whose addresses all fail ends failed, shows it in the mini band, and ▶, the mini toggle or the row retry", async () => {
    const page = await h.open(browser, { stations: [h.station("X", ["/live/nothing", "/nothing.mp3"])] });
    const stoppedMini = await page.$eval("#mini", (e) => getComputedStyle(e).backgroundColor);
    const retries = [["first ▶", "#play"], ["▶", "#play"], ["mini toggle", "#mini-toggle"], ["row", "#stations li.station"]];
    for (const [control, selector] of retries) {
      const before = await h.serverStatus();
      await page.click(selector);
      await h.waitForStatus(page, "连接失败");
      // Every address, in order, in each of the 1 + 2 rounds.
      const after = await h.serverStatus();
      for (const path of ["/live/nothing", "/nothing.mp3"]) {
        assert.equal(h.requests(after, path), h.requests(before, path) + 3, `${control}: ${path}`);
      }
      assert.match(await text(page, "#station-info"), /^无法连接：.+，按 ▶ 重试$/);
      assert.equal(await text(page, "#mini-status"), "连接失败");
      assert.notEqual(await page.$eval("#mini", (e) => getComputedStyle(e).backgroundColor), stoppedMini);
    }
    await page.context().close();
  });

  test("keyboard and wheel reach every control", async () => {
    const page = await h.open(browser, { stations: [h.station("A", ["/live/morning"]), h.station("B", ["/live/city"])] });
    const volume = () => page.$eval("#volume-level", (e) => parseInt(e.style.width, 10));
    // Tab reaches the rows; Enter on one plays it.
    for (let i = 0; i < 30 && !(await page.evaluate(() => document.activeElement.matches("li.station"))); i++) {
      await page.keyboard.press("Tab");
    }
    assert.equal(await page.evaluate(() => document.activeElement.textContent.replace(/[☆★]|FM 90.0/g, "")), "台A");
    await page.keyboard.press("Enter");
    await h.waitForStatus(page, "播放中");
    await page.evaluate(() => document.activeElement.blur());
    const steps = [
      ["Space", () => h.waitForStatus(page, "已停止")],
      ["Space", () => h.waitForStatus(page, "播放中")],
      ["ArrowRight", async () => assert.match(await text(page, "#station-name"), /台B/)],
      ["ArrowLeft", async () => assert.match(await text(page, "#station-name"), /台A/)],
      ["ArrowUp", async () => assert.equal(await volume(), 63)],
      ["ArrowDown", async () => assert.equal(await volume(), 56)],
      ["m", async () => assert.equal(await text(page, "#mute"), "取消")],
    ];
    for (const [key, check] of steps) {
      await page.keyboard.press(key);
      await check();
    }
    const bar = await page.$eval("#volume-bar", (e) => { const r = e.getBoundingClientRect(); return [r.x + 5, r.y + 4]; });
    await page.mouse.move(bar[0], bar[1]);
    await page.mouse.wheel(0, -100);
    await page.waitForFunction(() => document.getElementById("volume-level").style.width === "60px");
    assert.equal(await text(page, "#mute"), "静音", "turning it up unmutes");
    assert.deepEqual(page.errors, []);
    await page.context().close();
  });

  test("a station file that cannot be loaded or read says so", async () => {
    for (const [reply, message] of [[{ status: 404, body: "" }, "电台列表无法载入（错误 404）"],
      [{ body: "{ not json" }, "电台列表无法读取：文件格式有误"],
      [{ body: '{"stations":[{"name":"无地址"}]}' }, "电台列表无法读取：没有可用的电台"]]) {
      const page = await h.open(browser, { reply });
      assert.equal(await text(page, "#stations li.error"), message);
      assert.equal(await text(page, "#station-info"), message);
      await page.context().close();
    }
  });
});
