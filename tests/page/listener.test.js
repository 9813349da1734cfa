// The listener's tools on the station page: the sleep timer, stations of one's own and the filter.
"use strict";
const { test } = require("node:test");
const assert = require("node:assert/strict");
const { radio, useRadio, withPage: openPage, noStorage, listenerIds, waitForListeners, checkBands } = require("./support");

useRadio();
const station = (id, frequency, region) => ({ id, name: `台${id}`, frequency, region, urls: [`/${id}`] });
const STATIONS = [station("morning", "FM 97.4", "Harlune"), station("city", "FM 105.2", "Harlune"),
  station("river", "FM 101.8", "临江"), station("night", "AM 972", "北原")];
const SLOW = { reconnect: { delays: [0.2, 0.2], stallSeconds: 300, connectSeconds: 300 } };
const withPage = ({ stations = STATIONS, stored, clock, init }, body) => openPage({ file: { ...SLOW, stations }, clock,
  init: stored === undefined ? init : `localStorage.setItem("sonbrel.mine", ${JSON.stringify(stored)});` }, body);
const texts = (page, selector) => page.$$eval(selector, (all) => all.filter((e) => e.offsetHeight).map((e) => e.textContent));
const status = (page) => page.textContent("#status");
const sleepShown = (page) => page.$$eval("#sleep-left, #mini-sleep", (all) => all.map((e) => e.textContent));

test("the sleep timer stops the stream as ■ does when it runs out, across ■, ▶ and a station change, and is gone after a reload", () =>
  withPage({ clock: true }, async (page) => {
    await page.focus("#sleep");
    await page.keyboard.press("ArrowDown");  // 15 minutes
    assert.deepEqual(await sleepShown(page), ["还剩 15 分钟", "☾ 15"]);
    await page.click("#play");
    await waitForListeners("morning", 1);
    await page.click("#stop");
    await page.click("#play");
    await page.click("#next");
    await waitForListeners("city", 1);
    await waitForListeners("morning", 0);
    await page.clock.fastForward("15:01");
    await waitForListeners("city", 0);
    await page.waitForTimeout(1000).then(async () => assert.deepEqual(await listenerIds("city"), [], "nothing reconnects"));
    assert.deepEqual([await status(page), await page.textContent("#mini-status"), await page.inputValue("#sleep"),
      ...await sleepShown(page)], ["已定时关闭", "已定时关闭", "0", "", ""]);
    await page.click("#play");
    await waitForListeners("city", 1);
    await page.selectOption("#sleep", "30");
    await page.reload();
    await page.waitForSelector("#stations li.station");
    assert.deepEqual([await page.inputValue("#sleep"), ...await sleepShown(page)], ["0", "", ""]);
  }));

// Only the minutes shown change, so only they may wake the page.
test("the sleep timer wakes the page once a minute and counts down every minute", () => withPage({ clock: true }, async (page) => {
  await page.evaluate(() => {
    const wakes = (window.wakes = []), shown = (window.shown = []);
    for (const name of ["setTimeout", "setInterval"]) {
      const original = window[name];
      window[name] = function (f, ms) { wakes.push([name, ms]); return original.apply(this, arguments); };
    }
    const left = document.getElementById("sleep-left");
    new MutationObserver(() => shown.push(left.textContent)).observe(left, { childList: true });
  });
  await page.selectOption("#sleep", "90");
  await page.clock.runFor("30:00");
  await page.selectOption("#sleep", "15");  // a new choice replaces the old timer
  await page.clock.runFor("15:00");
  const { wakes, shown } = await page.evaluate(() => ({ wakes: window.wakes, shown: window.shown }));
  const minutes = (from) => Array.from({ length: from }, (_, i) => `还剩 ${from - i} 分钟`);
  assert.deepEqual(shown, [...minutes(90).slice(0, 31), ...minutes(15), ""]);
  assert.ok(wakes.every(([name, ms]) => name === "setTimeout" && ms <= 60000) && wakes.length <= shown.length, JSON.stringify(wakes));
  assert.equal(await status(page), "已定时关闭");
}));

const add = async (page, name, url) => {
  if (!(await page.isVisible("#add-form"))) await page.click("#add");
  await page.fill("#add-name", name);
  await page.fill("#add-url", url);
  await page.press("#add-url", "Enter");
};
const mineRows = (page) => texts(page, "#stations li.station:has(.remove)");
const stored = (page) => page.evaluate(() => localStorage.getItem("sonbrel.mine"));

test("every bad input gets its message beside its field and nothing is saved", () => withPage({}, async (page) => {
  const long = `http://example.org/${"a".repeat(1981)}`;
  const badUrls = [["ftp://example.org/a", /http:\/\/ 或 https:\/\//], ["example.org/a", /http:\/\/ 或 https:\/\//], ["http://", /主机名/],
    ["javascript:alert(1)", /不能使用 javascript:/], [" JavaScript:alert(1)//http://x", /不能使用 javascript:/],
    ["java\tscript:alert(1)", /不能使用 javascript:/], ["data:audio/mpeg;base64,AAAA", /不能使用 data:/], ["http://example.org/a b", /空格/],
    [`${long}b`, /最长 2000 个字符，现在是 2001 个/], [`${radio.config.base}/morning`, /已在列表中：台morning/]];
  for (const [name, url, nameError, urlError] of [["", "http://example.org/a", /请填写电台名称/, /^$/],
    ["  \u3000 ", "", /请填写电台名称/, /请填写播放地址/], ["长".repeat(41), "http://example.org/a", /最多 40 个字，现在是 41 个/, /^$/],
    ["😀".repeat(41), "http://example.org/a", /现在是 41 个/, /^$/], ...badUrls.map(([url, error]) => ["好台", url, /^$/, error])]) {
    await add(page, name, url);
    const shown = await page.$$eval("#add-name-error, #add-url-error", (all) => all.map((e) => e.textContent));
    assert.ok(nameError.test(shown[0]) && urlError.test(shown[1]), `${name} ${url}: ${shown}`);
    assert.deepEqual([await stored(page), await mineRows(page)], [null, []], `${name} ${url}`);
  }
  await checkBands(page, "adding");
  await add(page, "长".repeat(40), long);  // both at their limits
  assert.deepEqual(await mineRows(page), [`☆✕${"长".repeat(40)}`]);
}));

test("an own station plays, fails and is retried like any other, stays after a reload and is removed by keyboard", () =>
  withPage({}, async (page) => {
    await add(page, "我的晨光", `${radio.config.base}/river?mine`);
    assert.equal(await page.evaluate(() => document.activeElement.textContent), "☆✕我的晨光");
    await page.keyboard.press("Enter");
    await waitForListeners("river", 1);
    await page.click("#stop");
    await add(page, "坏台", `${radio.config.base}/nothing`);
    const failed = () => page.waitForFunction(() => document.getElementById("status").textContent === "连接失败");
    await page.click("#stations li:has-text('坏台')");
    await failed();
    await page.click("#play");
    await page.waitForFunction(() => document.getElementById("status").textContent !== "连接失败");
    await failed();
    assert.equal(page.requests.filter((url) => url === "/nothing").length, 6, "three rounds each time");
    await page.reload();
    await page.waitForSelector("#stations li.station");
    assert.deepEqual(await texts(page, "#stations li.region"), ["Harlune", "临江", "北原", "我的电台"]);
    assert.deepEqual(await mineRows(page), ["☆✕我的晨光", "☆✕坏台"]);
    await page.focus("#stations li:has-text('坏台')");
    await page.keyboard.press("Tab");
    await page.keyboard.press("Tab");
    await page.keyboard.press("Enter");
    assert.deepEqual([await mineRows(page), JSON.parse(await stored(page)).map((s) => s.name)], [["☆✕我的晨光"], ["我的晨光"]]);
    assert.equal(await page.textContent("#station-name"), "Harlune网络FM");  // it was the current one
  }));

// A cookie holds about 4 kB: the second long address does not fit, and the listener is told.
test("a station that cannot be stored is not listed as if it were", () => withPage({ init: noStorage }, async (page) => {
  const long = (n) => `http://example.org/${n}${"a".repeat(1980)}`;
  await add(page, "一", long(1));
  await add(page, "二", long(2));
  assert.deepEqual([await page.textContent("#add-error"), await mineRows(page)], ["无法保存：浏览器的存储空间不足", ["☆✕一"]]);
  await page.reload();
  await page.waitForSelector("#stations li.station");
  assert.deepEqual(await mineRows(page), ["☆✕一"]);
}));

test("corrupt stored entries are dropped and the rest kept, at most 50", async () => {
  const good = (n) => ({ id: `my:${n}`, name: `我的${n}`, url: `http://example.org/${n}` });
  for (const [value, expected] of [
    ["{", []], ["{}", []], ["[1, null, \"x\"]", []],
    [JSON.stringify([good(1), null, { ...good(2), id: 5 }, { ...good(3), name: "" }, { ...good(4), url: "javascript:1" },
      { ...good(5), url: good(1).url }, { ...good(6), id: "my:1" }, { ...good(7), name: "x".repeat(41) },
      { ...good(8), url: `http://example.org/${"a".repeat(2000)}` }, { ...good(9), id: "evil id" }, good(10)]), ["我的1", "我的10"]],
  ]) {
    await withPage({ stored: value }, async (page) => assert.deepEqual(await mineRows(page), expected.map((name) => `☆✕${name}`), value));
  }
  const many = Array.from({ length: 60 }, (_, i) => good(i));
  await withPage({ stored: JSON.stringify(many) }, async (page) => {
    assert.equal((await mineRows(page)).length, 50);
    await add(page, "再一个", "http://example.org/more");
    assert.match(await page.textContent("#add-error"), /最多只能添加 50 个/);
    assert.equal((await mineRows(page)).length, 50);
    assert.equal(await stored(page), JSON.stringify(many));
  });
});

const shown = (page) => texts(page, "#stations li");
const focused = (page) => page.evaluate(() => document.activeElement.id || document.activeElement.textContent);

test("the station filter matches name, frequency or region in either width and case, and the keys work on what it leaves", () =>
  withPage({}, async (page) => {
    for (const [query, expected] of [["fm 97", ["Harlune", "☆FM 97.4台morning"]], ["ＦＭ９７", ["Harlune", "☆FM 97.4台morning"]],
      ["Fm97.", ["Harlune", "☆FM 97.4台morning"]], ["临江", ["临江", "☆FM 101.8台river"]], ["台 97", ["Harlune", "☆FM 97.4台morning", "北原", "☆AM 972台night"]],
      ["harlune 105", ["Harlune", "☆FM 105.2台city"]], ["z", ["没有找到匹配的电台"]]]) {
      await page.fill("#search", query);
      assert.deepEqual(await shown(page), expected, query);
    }
    await page.selectOption("#sleep", "60");
    await checkBands(page, "filtered with a timer");
    await page.fill("#search", "9");  // morning and night, not the two between them
    await page.keyboard.press("m");  // typed, not muting
    assert.equal(await page.textContent("#mute"), "静音");
    await page.fill("#search", "9");
    for (const [key, expected] of [["ArrowDown", "☆FM 97.4台morning"], ["ArrowDown", "☆AM 972台night"],
      ["ArrowDown", "☆AM 972台night"], ["ArrowUp", "☆FM 97.4台morning"], ["ArrowUp", "search"]]) {
      await page.keyboard.press(key);
      assert.equal(await focused(page), expected, key);
    }
    await page.keyboard.press("Enter");
    await page.waitForFunction(() => document.getElementById("station-name").textContent.indexOf("台morning") === 0);
    await page.click("#next");  // steps within what is shown
    await page.waitForFunction(() => document.getElementById("station-name").textContent.indexOf("台night") === 0);
    assert.equal((await shown(page)).length, 4, "the redrawn list keeps the filter");
    await page.focus("#stations li.station");
    await page.keyboard.press("Escape");
    assert.deepEqual([await page.inputValue("#search"), await focused(page), (await shown(page)).length], ["", "search", 7]);
    await page.fill("#search", "river");
    await page.keyboard.press("Escape");
    assert.equal((await shown(page)).length, 7);
  }));
